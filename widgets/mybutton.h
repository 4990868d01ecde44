#ifndef MYBUTTON_H
#define MYBUTTON_H

#include <QPushButton>

// A push button that tells a short press from a long one. A press held for
// 1000 ms emits longPressed() at that moment, while the button is still down,
// and its release emits nothing more; an earlier release emits shortPressed().
// A press the toolkit ends without released() (let go outside the button with
// no move before) emits neither.
class MyButton : public QPushButton
{
    Q_OBJECT
public:
    explicit MyButton(QWidget *parent = nullptr);

signals:
    void longPressed();
    void shortPressed();

protected:
    void timerEvent(QTimerEvent *event) override;

private slots:
    void slotPressed();
    void slotReleased();

private:
    void stopPressTimer();

    int timerId; // the running press timer, 0 when idle
};

#endif // MYBUTTON_H
