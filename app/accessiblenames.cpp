#include "accessiblenames.h"
#include "ui_mainwindow.h"

#include "dmmchart.h"

#include <QRegularExpression>

void AccessibleNames::install(QWidget *window, Ui::MainWindow *ui)
{
    const QList<MyButton *> memories = {ui->btnM1, ui->btnM2, ui->btnM3, ui->btnM4, ui->btnM5};
    for (int i = 0; i < memories.size(); ++i) {
        memories.at(i)->setAccessibleName(tr("Memory %1").arg(i + 1));
        memories.at(i)->setAccessibleDescription(
            tr("Memory key M%1: press briefly, or hold for one second for a long press, as on the instrument.")
                .arg(i + 1));
    }
    const QList<QPushButton *> channels = {ui->btnCh1Sel, ui->btnCh2Sel, ui->btnCh3Sel};
    for (int i = 0; i < channels.size(); ++i) {
        channels.at(i)->setAccessibleName(tr("Select CH%1").arg(i + 1));
        channels.at(i)->setAccessibleDescription(tr("The set-point controls then work on channel %1.").arg(i + 1));
    }
    ui->btnOutput->setAccessibleName(tr("Output on or off"));
    ui->btnSer->setAccessibleName(tr("Series tracking"));
    ui->btnPara->setAccessibleName(tr("Parallel tracking"));
    for (QPushButton *mode : {ui->btnSer, ui->btnPara})
        mode->setAccessibleDescription(
            tr("A press switches the mode on, or off when it is on; holding for one second returns to independent."));
    for (QLabel *mark : {ui->lblCh3Volt18, ui->lblCh3Volt25, ui->lblCh3Volt33, ui->lblCh3Volt50}) {
        mark->setAccessibleName(tr("CH3 mark %1").arg(mark->text()));
        mark->setAccessibleDescription(tr("Highlighted while channel 3 is set to this voltage."));
    }
    ui->spinVolt->setAccessibleDescription(
        tr("Volts. Sent two seconds after the last change, or at once with Enter."));
    ui->spinCurr->setAccessibleDescription(
        tr("Amperes. Sent two seconds after the last change, or at once with Enter."));
    ui->sliderVolt->setAccessibleDescription(tr("Hundredths of a volt."));
    ui->sliderCurr->setAccessibleDescription(tr("Thousandths of an ampere."));
    setSelectedChannel(ui, 0);

    ui->tabWidgetCHs->setAccessibleName(tr("Channels"));
    const QList<QTableView *> tables = {ui->tableViewCH1, ui->tableViewCH2, ui->tableViewCH3};
    for (int i = 0; i < tables.size(); ++i) {
        tables.at(i)->setAccessibleName(tr("CH%1 record table").arg(i + 1));
        tables.at(i)->setAccessibleDescription(
            tr("One row per reading: time, voltage, current, power, tracking mode and flag."));
    }
    const QList<QTabWidget *> pages = {ui->tabWidgetCH1, ui->tabWidgetCH2, ui->tabWidgetCH3};
    const QList<QTabWidget *> chartPages = {ui->tabWidgetCH1Charts, ui->tabWidgetCH2Charts, ui->tabWidgetCH3Charts};
    for (int i = 0; i < pages.size(); ++i) {
        pages.at(i)->setAccessibleName(tr("CH%1 record and charts").arg(i + 1));
        chartPages.at(i)->setAccessibleName(tr("CH%1 charts").arg(i + 1));
    }
    const QRegularExpression chartName(QStringLiteral("^chartCH(\\d)(Voltage|Current|Power)$"));
    const QHash<QString, QString> quantities = {{QStringLiteral("Voltage"), tr("voltage")},
                                                {QStringLiteral("Current"), tr("current")},
                                                {QStringLiteral("Power"), tr("power")}};
    for (DMMChart *chart : window->findChildren<DMMChart *>()) {
        const QRegularExpressionMatch match = chartName.match(chart->objectName());
        if (!match.hasMatch())
            continue;
        chart->setAccessibleName(tr("CH%1 %2 chart").arg(match.captured(1), quantities.value(match.captured(2))));
        chart->setAccessibleDescription(tr("Recorded readings against time."));
    }
}

void AccessibleNames::setSelectedChannel(Ui::MainWindow *ui, int channel)
{
    if (channel <= 0) {
        ui->spinVolt->setAccessibleName(tr("Voltage set point"));
        ui->sliderVolt->setAccessibleName(tr("Voltage set point slider"));
        ui->spinCurr->setAccessibleName(tr("Current set point"));
        ui->sliderCurr->setAccessibleName(tr("Current set point slider"));
        return;
    }
    ui->spinVolt->setAccessibleName(tr("CH%1 voltage set point").arg(channel));
    ui->sliderVolt->setAccessibleName(tr("CH%1 voltage set point slider").arg(channel));
    ui->spinCurr->setAccessibleName(tr("CH%1 current set point").arg(channel));
    ui->sliderCurr->setAccessibleName(tr("CH%1 current set point slider").arg(channel));
}

QString AccessibleNames::display(int channel, Quantity quantity, Shown shown, const QString &text)
{
    static const char *const words[] = {QT_TR_NOOP("voltage"), QT_TR_NOOP("current"), QT_TR_NOOP("power")};
    static const char *const units[] = {QT_TR_NOOP("V"), QT_TR_NOOP("A"), QT_TR_NOOP("W")};
    const int index = int(quantity);
    switch (shown) {
    case Shown::Measured:
        return tr("CH%1 measured %2 %3 %4").arg(channel).arg(tr(words[index]), text, tr(units[index]));
    case Shown::SetPoint:
        return tr("CH%1 set %2 %3 %4").arg(channel).arg(tr(words[index]), text, tr(units[index]));
    case Shown::Nothing:
        break;
    }
    return tr("CH%1 %2, no instrument connected").arg(channel).arg(tr(words[index]));
}

QString AccessibleNames::output(bool on)
{
    return on ? tr("Output on") : tr("Output off");
}

QString AccessibleNames::regulation(int channel, const QString &flagText)
{
    if (flagText == QLatin1String("C.V"))
        return tr("CH%1 constant voltage").arg(channel);
    if (flagText == QLatin1String("C.C"))
        return tr("CH%1 constant current").arg(channel);
    return tr("CH%1 regulation, shown while the output is on").arg(channel);
}

QString AccessibleNames::trackingMode(int mode)
{
    switch (mode) {
    case 1:
        return tr("Tracking mode independent");
    case 2:
        return tr("Tracking mode parallel");
    case 3:
        return tr("Tracking mode series");
    default:
        return tr("Tracking mode not reported");
    }
}

void AccessibleNames::rename(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}
