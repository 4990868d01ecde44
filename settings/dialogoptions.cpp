#include "dialogoptions.h"
#include "ui_dialogoptions.h"

#include <QMessageBox>

#include <limits>

namespace {

constexpr int kMinSamplePoints = 1;
constexpr int kMinSampleRateMs = 0;
constexpr int kMaxSpinValue = std::numeric_limits<int>::max();

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
