#include "dialogoptions.h"
#include "ui_dialogoptions.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>

#include <limits>

namespace {

constexpr int kMinSamplePoints = 1;
constexpr int kMinSampleRateMs = 0;
constexpr int kMaxSpinValue = std::numeric_limits<int>::max();
constexpr int kMaxPort = 65535;
constexpr int kRemoteRow = 5; // below the buttons' row
constexpr int kColumnCount = 3;

} // namespace

DialogOptions::DialogOptions(bool fixedLanguage, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogOptions)
    , fixedLanguage(fixedLanguage)
{
    ui->setupUi(this);
    setWindowTitle(tr("Options"));

    // Language names are shown in their own form, whatever the translation.
    ui->languageComboBox->addItem(QStringLiteral("English"));
    ui->languageComboBox->addItem(QStringLiteral("Chinese"));
    ui->languageComboBox->setCurrentIndex(0);

    ui->samplePointsSpinBox->setRange(kMinSamplePoints, kMaxSpinValue);
    ui->sampleRateSpinBox->setRange(kMinSampleRateMs, kMaxSpinValue);
    ui->sampleRateSpinBox->setSuffix(QStringLiteral("mS"));

    // The sample rate and skip-repeat settings pass through the dialog
    // unchanged; the user does not edit them.
    ui->label_2->setVisible(false);
    ui->sampleRateSpinBox->setVisible(false);
    ui->label_3->setVisible(false);
    ui->skipRepeatCheckBox->setVisible(false);

    ui->labelLanguage->setVisible(!fixedLanguage);
    ui->languageComboBox->setVisible(!fixedLanguage);
    addRemoteRows();
}

// A group of its own below the form's cells, which stay as designed.
void DialogOptions::addRemoteRows()
{
    auto group = new QGroupBox(tr("Scripts (SCPI)"), this);
    scpiPort = new QSpinBox(group);
    scpiPort->setObjectName(QStringLiteral("scpiPortSpinBox"));
    scpiPort->setRange(0, kMaxPort);
    scpiPort->setSpecialValueText(tr("Off"));
    scpiListen = new QLineEdit(group);
    scpiListen->setObjectName(QStringLiteral("edtScpiListen"));
    auto rows = new QFormLayout(group);
    rows->addRow(tr("SCPI port"), scpiPort);
    rows->addRow(tr("Listen on"), scpiListen);
    ui->gridLayout_2->addWidget(group, kRemoteRow, 0, 1, kColumnCount);
    setTabOrder(ui->buttonBox, scpiPort);
    setTabOrder(scpiPort, scpiListen);
}

DialogOptions::~DialogOptions()
{
    delete ui;
}

QSpinBox *DialogOptions::samplePointsSpinBox() const
{
    return ui->samplePointsSpinBox;
}

QCheckBox *DialogOptions::infiniteCheckBox() const
{
    return ui->infiniteCheckBox;
}

QSpinBox *DialogOptions::sampleRateSpinBox() const
{
    return ui->sampleRateSpinBox;
}

QCheckBox *DialogOptions::skipRepeatCheckBox() const
{
    return ui->skipRepeatCheckBox;
}

QSpinBox *DialogOptions::scpiPortSpinBox() const
{
    return scpiPort;
}

QLineEdit *DialogOptions::scpiListenEdit() const
{
    return scpiListen;
}

void DialogOptions::setLanguage(int index)
{
    initialLanguage = index;
    chosenLanguage = index;
    ui->languageComboBox->setCurrentIndex(index);
}

int DialogOptions::languageIndex() const
{
    return chosenLanguage;
}

void DialogOptions::on_languageComboBox_activated(int index)
{
    chosenLanguage = index;
    if (index != initialLanguage) {
        QMessageBox::information(this, QString(),
                                 tr("Please restart application for translation to take effect."),
                                 QMessageBox::Ok, QMessageBox::NoButton);
    }
}

void DialogOptions::on_infiniteCheckBox_toggled(bool checked)
{
    ui->samplePointsSpinBox->setEnabled(!checked);
}
