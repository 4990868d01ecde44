#ifndef DIALOGOPTIONS_H
#define DIALOGOPTIONS_H

#include <QDialog>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QLineEdit;
class QSpinBox;
namespace Ui {
class DialogOptions;
}
QT_END_NAMESPACE

// Edits the acquisition settings and the language choice. The dialog only
// edits; it neither loads nor stores anything itself. Language indexes:
// 0 English, 1 Chinese.
class DialogOptions : public QDialog
{
    Q_OBJECT
public:
    // With fixedLanguage the language row is hidden.
    DialogOptions(bool fixedLanguage, QWidget *parent);
    ~DialogOptions() override;

    // The widgets that the caller fills before exec() and reads after an
    // accepted run; they belong to the dialog. The sample rate is a period
    // in milliseconds; its box and the skip-repeat box are hidden and pass
    // their values through.
    QSpinBox *samplePointsSpinBox() const;
    QCheckBox *infiniteCheckBox() const;
    QSpinBox *sampleRateSpinBox() const;
    QCheckBox *skipRepeatCheckBox() const;
    // The SCPI server's port (0 shows "Off") and the address it listens on;
    // rows added below the form's own.
    QSpinBox *scpiPortSpinBox() const;
    QLineEdit *scpiListenEdit() const;

    // The language in use when the dialog opens; choosing another one brings
    // up the restart notice.
    void setLanguage(int index);
    int languageIndex() const;

private slots:
    void on_languageComboBox_activated(int index);
    void on_infiniteCheckBox_toggled(bool checked);

private:
    void addRemoteRows();

    Ui::DialogOptions *ui;
    QSpinBox *scpiPort = nullptr;
    QLineEdit *scpiListen = nullptr;
    bool fixedLanguage;
    int initialLanguage = 0;
    int chosenLanguage = 0; // follows the user's choices in the language box
};

#endif // DIALOGOPTIONS_H
