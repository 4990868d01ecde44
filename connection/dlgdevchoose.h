#ifndef DLGDEVCHOOSE_H
#define DLGDEVCHOOSE_H

#include <QDialog>

QT_BEGIN_NAMESPACE
class QComboBox;
class QLineEdit;
namespace Ui {
class DlgDevChoose;
}
QT_END_NAMESPACE

// Asks how the instrument is reached: USB, LAN or RS232, and for RS232 the
// serial port. Port types: 0 USB, 1 LAN, 2 RS232, which are also the indexes
// of the dialog's pages.
class DlgDevChoose : public QDialog
{
    Q_OBJECT
public:
    DlgDevChoose(int portType, QWidget *parent = nullptr);
    ~DlgDevChoose() override;

    int portType() const;

    QLineEdit *edtIP;
    // The caller presets it before exec() and reads it afterwards.
    QComboBox *cbRS232No;

private slots:
    void slotRbToggled(bool on);

private:
    void selectInitialPortType();

    Ui::DlgDevChoose *ui;
    int chosenPortType;
};

#endif // DLGDEVCHOOSE_H
