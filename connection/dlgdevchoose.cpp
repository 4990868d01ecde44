#include "dlgdevchoose.h"
#include "ui_dlgdevchoose.h"

#include <QRadioButton>
#include <QRegExpValidator>
#include <QSerialPortInfo>

namespace {
const char *const kPortProperty = "Port";
const QString kIpPattern = QStringLiteral(
    "\\b(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}"
    "(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\b");
const QString kIpMask = QStringLiteral("000.000.000.000;");

// Depth-first, children in order, each child before its own descendants.
QRadioButton *findPortButton(QObject *parent, int portType)
{
    for (QObject *child : parent->children()) {
        if (child->metaObject() == &QRadioButton::staticMetaObject) {
            const QVariant port = child->property(kPortProperty);
            if (port.isValid() && port.toInt() == portType)
                return static_cast<QRadioButton *>(child);
        }
        if (QRadioButton *found = findPortButton(child, portType))
            return found;
    }
    return nullptr;
}
} // namespace

DlgDevChoose::DlgDevChoose(int portType, QWidget *parent)
    : QDialog(parent), ui(new Ui::DlgDevChoose), chosenPortType(portType)
{
    ui->setupUi(this);
    edtIP = ui->edtIP;
    cbRS232No = ui->cbRS232No;

    ui->rbUSB->setProperty(kPortProperty, 0);
    ui->rbLAN->setProperty(kPortProperty, 1);
    ui->rbRS232->setProperty(kPortProperty, 2);
    for (QRadioButton *button : {ui->rbUSB, ui->rbLAN, ui->rbRS232})
        connect(button, &QRadioButton::toggled, this, &DlgDevChoose::slotRbToggled);

    selectInitialPortType();
    // The radio buttons alone switch the pages.
    ui->tabWidget->tabBar()->hide();

    edtIP->setValidator(new QRegExpValidator(QRegExp(kIpPattern, Qt::CaseSensitive, QRegExp::RegExp), edtIP));
    edtIP->setInputMask(kIpMask);

    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        cbRS232No->addItem(port.portName());
}

DlgDevChoose::~DlgDevChoose()
{
    delete ui;
}

int DlgDevChoose::portType() const
{
    return chosenPortType;
}

void DlgDevChoose::selectInitialPortType()
{
    // A type that no button carries leaves every button off and the RS232 page shown.
    if (QRadioButton *button = findPortButton(this, chosenPortType)) {
        button->setChecked(true);
        ui->tabWidget->setCurrentIndex(chosenPortType);
    }
}

void DlgDevChoose::slotRbToggled(bool on)
{
    auto button = qobject_cast<QRadioButton *>(sender());
    if (!on || !button)
        return;
    chosenPortType = button->property(kPortProperty).toInt();
    ui->tabWidget->setCurrentIndex(chosenPortType);
}
