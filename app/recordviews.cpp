#include "recordviews.h"

#include "chartquantity.h"
#include "columnwidths.h"
#include "datamodel.h"
#include "dmmchart.h"
#include "recordpointsource.h"
#include "recordrowheader.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QRegExp>
#include <QTableView>

namespace {
const QString kChartPattern = QStringLiteral("chartCH[0-9]{1,}[Voltage,Current,Power]");
const QString kTablePattern = QStringLiteral("tableViewCH[0-9]{1,}");
// The record tables' column widths in the reference font.
const QList<int> kColumnWidths = {50, 130, 100, 100, 100, 60, 60};
constexpr int kChartLeftMargin = 88;
constexpr int kChartBottomMargin = 66;

// The record tables and charts belong to the main window's translations.
QString translated(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// The channel a view is for: the last character of a table's name.
int tableChannel(const QTableView *table)
{
    return table->objectName().right(1).toInt();
}
} // namespace

RecordViews::RecordViews(QWidget *window, QObject *chartFilter)
    : QObject(window), window(window), columnWidths(new ColumnWidths(kColumnWidths, this))
{
    const QRegExp tableName(kTablePattern, Qt::CaseSensitive, QRegExp::RegExp);
    for (QTableView *table : window->findChildren<QTableView *>()) {
        if (tableName.indexIn(table->objectName()) >= 0)
            dressTable(table);
    }
    const QRegExp chartName(kChartPattern, Qt::CaseSensitive, QRegExp::RegExp);
    for (DMMChart *chart : window->findChildren<DMMChart *>()) {
        if (chartName.indexIn(chart->objectName()) >= 0)
            dressChart(chart, chartFilter);
    }
}

void RecordViews::dressTable(QTableView *table)
{
    tables << table;
    // Recording appends a row per reading for as long as it runs.
    RecordRowHeader::install(table);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    table->horizontalHeader()->setSectionsClickable(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void RecordViews::dressChart(DMMChart *chart, QObject *chartFilter)
{
    if (const ChartQuantity *quantity = ChartQuantity::forChart(chart->objectName())) {
        chart->setYTitle(translated(quantity->title));
        chart->setLabelDecimals(quantity->labelDecimals);
    }
    chart->setLeftMargin(kChartLeftMargin);
    chart->setBottomMargin(kChartBottomMargin);
    chart->setXTitle(translated(QT_TRANSLATE_NOOP("MainWindow", "Date/Time")));
    chart->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    chart->installEventFilter(chartFilter);
    chartList << chart;
}

void RecordViews::show(const QList<DataModel *> &models, const ReadingTable *readings)
{
    for (QTableView *table : qAsConst(tables)) {
        const int channel = tableChannel(table);
        if (channel >= 1 && channel <= models.size())
            table->setModel(models.at(channel - 1));
        // Widths apply to the model's columns, so they follow the model.
        columnWidths->manage(table);
    }
    for (DMMChart *chart : qAsConst(chartList)) {
        const ChartQuantity *quantity = ChartQuantity::forChart(chart->objectName());
        const int series = quantity ? ReadingTable::series(ChartQuantity::channelOf(chart->objectName()),
                                                           quantity->quantity)
                                    : -1;
        if (series >= 0)
            chart->setPointSource(std::make_unique<RecordPointSource>(readings, series, quantity));
    }
}

const QList<DMMChart *> &RecordViews::charts() const
{
    return chartList;
}

void RecordViews::followNewRow()
{
    for (QTableView *table : qAsConst(tables))
        table->scrollToBottom();
    refreshCharts();
}

void RecordViews::refreshCharts()
{
    for (DMMChart *chart : qAsConst(chartList))
        chart->refresh();
}

void RecordViews::clearCharts()
{
    for (DMMChart *chart : qAsConst(chartList))
        chart->clear();
}
