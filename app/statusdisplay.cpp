#include "statusdisplay.h"
#include "ui_mainwindow.h"

#include "accessiblenames.h"
#include "dmmdata.h"

#include <algorithm>

namespace {
constexpr int kChannelCount = 3;

const QString kPlainStyle;
const QString kHighlightStyle = QStringLiteral("color:rgb(0,255,0);font-weight:bold;");
const QString kOutputOnButtonStyle = QStringLiteral("background-color:rgb(0,255,0);border: 1px solid #808080;");
const QString kOutputOnTextStyle = QStringLiteral("color:rgb(0,255,0);");
const QString kOutputOffTextStyle = QStringLiteral("color:rgb(255,0,0);");
const QString kOutputOnText = QStringLiteral("ON");
const QString kOutputOffText = QStringLiteral("OFF");

// Set-point limits: channels 1 and 2 (and an unknown 0) take 0 to 32.00 V and
// 0 to 3.200 A; channel 3 has a voltage of 0 to 6.0 V only. Slider steps are
// hundredths of a volt and thousandths of an ampere.
struct ChannelLimits
{
    double maxVolts;
    int voltSliderMax;
    double maxAmps;
    int currSliderMax;
    bool currentAdjustable;
    int voltDecimals;
};
constexpr ChannelLimits kAdjustableLimits{32.0, 3200, 3.2, 3200, true, 2};
constexpr ChannelLimits kFixedVoltageLimits{6.0, 600, 0.0, 0, false, 1};
} // namespace

StatusDisplay::StatusDisplay(QWidget *window, Ui::MainWindow *ui) : window(window), ui(ui)
{
    for (int i = 1; i <= kChannelCount; ++i) {
        displays << ChannelDisplays{window->findChild<QLCDNumber *>(QStringLiteral("lcdCh%1Volt").arg(i)),
                                    window->findChild<QLCDNumber *>(QStringLiteral("lcdCh%1Curr").arg(i)),
                                    window->findChild<QLCDNumber *>(QStringLiteral("lcdCh%1Power").arg(i))};
    }
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->objectName().startsWith(QLatin1String("lblCh3Volt")))
            channel3Labels << label;
    }
    nameDisplays(AccessibleNames::Shown::Nothing, {});
    AccessibleNames::rename(ui->lcdOutput, AccessibleNames::output(false));
    AccessibleNames::rename(ui->lcdCh1Flag, AccessibleNames::regulation(1, QString()));
    AccessibleNames::rename(ui->lcdCh2Flag, AccessibleNames::regulation(2, QString()));
    AccessibleNames::rename(ui->lcdSpMode, AccessibleNames::trackingMode(0));
}

void StatusDisplay::showSelectedChannel(quint8 channel)
{
    for (int i = 1; i <= kChannelCount; ++i) {
        if (auto button = window->findChild<QPushButton *>(QStringLiteral("btnCh%1Sel").arg(i)))
            button->setStyleSheet(kPlainStyle);
    }
    if (auto button = window->findChild<QPushButton *>(QStringLiteral("btnCh%1Sel").arg(channel)))
        button->setStyleSheet(kHighlightStyle);

    // Lowering a maximum clamps the value; the change reaches the set-point
    // slots like a user's, so the clamped value is sent after the usual delay.
    const ChannelLimits &limits = channel < 3 ? kAdjustableLimits : kFixedVoltageLimits;
    ui->spinVolt->setMaximum(limits.maxVolts);
    ui->sliderVolt->setMaximum(limits.voltSliderMax);
    ui->spinCurr->setMaximum(limits.maxAmps);
    ui->sliderCurr->setMaximum(limits.currSliderMax);
    ui->spinCurr->setEnabled(limits.currentAdjustable);
    ui->sliderCurr->setEnabled(limits.currentAdjustable);
    ui->spinVolt->setDecimals(limits.voltDecimals);
    AccessibleNames::setSelectedChannel(ui, channel <= kChannelCount ? channel : 0);
}

void StatusDisplay::showOutput(bool on)
{
    ui->lcdOutput->setText(on ? kOutputOnText : kOutputOffText);
    ui->btnOutput->setStyleSheet(on ? kOutputOnButtonStyle : kPlainStyle);
    ui->lcdOutput->setStyleSheet(on ? kOutputOnTextStyle : kOutputOffTextStyle);
    AccessibleNames::rename(ui->lcdOutput, AccessibleNames::output(on));
}

void StatusDisplay::showRegulation(quint8 channel, quint8 flag, bool outputOn)
{
    QLabel *label = channel == 1 ? ui->lcdCh1Flag : channel == 2 ? ui->lcdCh2Flag : nullptr;
    if (!label)
        return;
    label->setText(!outputOn ? QString() : flag != 0 ? QStringLiteral("C.C") : QStringLiteral("C.V"));
    AccessibleNames::rename(label, AccessibleNames::regulation(channel, label->text()));
}

void StatusDisplay::showTrackingMode(quint8 mode)
{
    struct Look
    {
        QString text;
        const QString &serStyle;
        const QString &paraStyle;
    };
    static const Look independent{QString(), kPlainStyle, kPlainStyle};
    static const Look parallel{QStringLiteral("PARA"), kPlainStyle, kHighlightStyle};
    static const Look series{QStringLiteral("SER"), kHighlightStyle, kPlainStyle};
    const Look *look = mode == 1 ? &independent : mode == 2 ? &parallel : mode == 3 ? &series : nullptr;
    if (!look)
        return;
    ui->lcdSpMode->setText(look->text);
    ui->btnSer->setStyleSheet(look->serStyle);
    ui->btnPara->setStyleSheet(look->paraStyle);
    AccessibleNames::rename(ui->lcdSpMode, AccessibleNames::trackingMode(mode));
}

void StatusDisplay::showReadings(const QList<DmmData *> &records, bool outputOn)
{
    for (int i = 1; i <= std::min(records.size(), displays.size()); ++i) {
        const DmmData *record = records.at(i - 1);
        const ChannelDisplays &channel = displays.at(i - 1);
        if (channel.volt && i == 3)
            highlightChannel3Voltage(record->voltageSetting());
        const auto shown = outputOn ? AccessibleNames::Shown::Measured : AccessibleNames::Shown::SetPoint;
        show(i, AccessibleNames::Quantity::Voltage, shown,
             outputOn ? record->voltageText() : record->voltageSettingText());
        show(i, AccessibleNames::Quantity::Current, shown,
             outputOn ? record->currentText() : record->currentSettingText());
        show(i, AccessibleNames::Quantity::Power, shown, outputOn ? record->powerText() : record->powerSettingText());
    }
}

void StatusDisplay::showNoInstrument()
{
    ui->lcdOutput->setText(kOutputOffText);
    ui->lcdOutput->setStyleSheet(kPlainStyle);
    ui->btnOutput->setStyleSheet(kPlainStyle);
    AccessibleNames::rename(ui->lcdOutput, AccessibleNames::output(false));
    nameDisplays(AccessibleNames::Shown::Nothing, tr("--"));
    for (QLabel *label : {ui->lcdCh1Flag, ui->lcdCh2Flag, ui->lcdSpMode})
        label->clear();
    AccessibleNames::rename(ui->lcdCh1Flag, AccessibleNames::regulation(1, QString()));
    AccessibleNames::rename(ui->lcdCh2Flag, AccessibleNames::regulation(2, QString()));
    AccessibleNames::rename(ui->lcdSpMode, AccessibleNames::trackingMode(0));
    for (QPushButton *button : std::initializer_list<QPushButton *>{ui->btnSer, ui->btnPara, ui->btnCh1Sel,
                                                                    ui->btnCh2Sel, ui->btnCh3Sel})
        button->setStyleSheet(kPlainStyle);
    clearChannel3Highlight();
}

// Every display shows the same text (none for the idle texts the form set).
void StatusDisplay::nameDisplays(AccessibleNames::Shown shown, const QString &text)
{
    using Quantity = AccessibleNames::Quantity;
    for (int i = 1; i <= displays.size(); ++i) {
        for (Quantity quantity : {Quantity::Voltage, Quantity::Current, Quantity::Power}) {
            if (QLCDNumber *lcd = displayOf(i, quantity)) {
                if (!text.isNull())
                    lcd->display(text);
                AccessibleNames::rename(lcd, AccessibleNames::display(i, quantity, shown));
            }
        }
    }
}

// Channel 3 has its voltage display only: the others are skipped.
void StatusDisplay::show(int channel, AccessibleNames::Quantity quantity, AccessibleNames::Shown shown,
                         const QString &text)
{
    QLCDNumber *lcd = displayOf(channel, quantity);
    if (!lcd)
        return;
    lcd->display(text);
    AccessibleNames::rename(lcd, AccessibleNames::display(channel, quantity, shown, text));
}

QLCDNumber *StatusDisplay::displayOf(int channel, AccessibleNames::Quantity quantity) const
{
    const ChannelDisplays &of = displays.at(channel - 1);
    switch (quantity) {
    case AccessibleNames::Quantity::Voltage:
        return of.volt;
    case AccessibleNames::Quantity::Current:
        return of.curr;
    case AccessibleNames::Quantity::Power:
        return of.power;
    }
    return nullptr;
}

void StatusDisplay::clearChannel3Highlight()
{
    highlightedTenths = -1;
    for (QLabel *label : qAsConst(channel3Labels))
        label->setStyleSheet(kPlainStyle);
}

void StatusDisplay::highlightChannel3Voltage(double volts)
{
    // The labels are named in tenths of a volt; the small offset keeps 3.3 V,
    // held in binary as 3.2999…, from truncating to 32.
    const int tenths = int(volts * 10 + 1e-6);
    // Applying a style sheet re-polishes the label, which costs more than
    // the rest of a reading's display: only a change is applied.
    if (tenths == highlightedTenths)
        return;
    highlightedTenths = tenths;
    const QString highlighted = QStringLiteral("lblCh3Volt%1").arg(tenths);
    for (QLabel *label : qAsConst(channel3Labels))
        label->setStyleSheet(label->objectName() == highlighted ? kHighlightStyle : kPlainStyle);
}
