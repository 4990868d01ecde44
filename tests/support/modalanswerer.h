#ifndef MODALANSWERER_H
#define MODALANSWERER_H

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

// Answers the modal dialogs a test provokes: each time a modal widget comes
// up, it records the widget (and a message box's text) and lets the test's
// callback answer it. Polls, because exec() blocks the test's own code.
class ModalAnswerer : public QObject
{
public:
    using Answer = std::function<void(QWidget *modal)>;

    explicit ModalAnswerer(Answer answer = closeWith(QMessageBox::Ok))
        : answer(std::move(answer))
    {
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer.start();
    }

    // Clicks the given button of a message box; rejects any other dialog.
    static Answer closeWith(QMessageBox::StandardButton button)
    {
        return [button](QWidget *modal) {
            if (auto box = qobject_cast<QMessageBox *>(modal))
                box->button(button) ? box->button(button)->click() : box->reject();
            else if (auto dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        };
    }

    QStringList texts;   // the text of every message box answered
    int modalCount = 0;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // A dialog that comes back on top after a nested message box has had its answer.
        if (!modal || answered.contains(modal))
            return;
        answered << modal;
        ++modalCount;
        if (auto box = qobject_cast<QMessageBox *>(modal))
            texts << box->text();
        answer(modal);
    }

    Answer answer;
    QTimer timer;
    QList<QPointer<QWidget>> answered;
};

#endif // MODALANSWERER_H
