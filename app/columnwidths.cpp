#include "columnwidths.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace {
// A time stamp as the tables show it, in the widest digits.
const QString kTimeSample = QStringLiteral("0000-00-00 00:00:00");
// Its width in the font the reference widths were chosen for (9 pt at
// 96 dpi); the Date/Time column's 130 px leave the cell's margins around it.
constexpr double kReferenceTimeWidthPx = 112.0;
const QString kSettingsFile = QStringLiteral("/layout.ini");
const QString kWidthKey = QStringLiteral("RecordTables/ColumnWidth%1");
} // namespace

ColumnWidths::ColumnWidths(const QList<int> &referenceWidths, QObject *parent)
    : QObject(parent), referenceWidths(referenceWidths),
      settings(new QSettings(settingsPath(), QSettings::IniFormat, this))
{
}

QList<int> ColumnWidths::scaled(const QList<int> &referenceWidths, const QFontMetrics &metrics)
{
    const double ratio = std::max(1.0, metrics.horizontalAdvance(kTimeSample) / kReferenceTimeWidthPx);
    QList<int> widths;
    for (int width : referenceWidths)
        widths << int(std::ceil(width * ratio));
    return widths;
}

QString ColumnWidths::settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + kSettingsFile;
}

void ColumnWidths::manage(QTableView *table)
{
    tables << table;
    const QList<int> widths = scaled(referenceWidths, table->fontMetrics());
    for (int column = 0; column < widths.size(); ++column) {
        const int remembered = settings->value(kWidthKey.arg(column)).toInt();
        table->setColumnWidth(column, remembered > 0 ? remembered : widths.at(column));
    }
    // Connected after the widths are set: from here on a resize is the user's.
    connect(table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this, table](int column, int, int width) { columnDragged(table, column, width); });
}

void ColumnWidths::columnDragged(QTableView *table, int column, int width)
{
    if (following || column >= referenceWidths.size())
        return;
    following = true;
    for (QTableView *other : qAsConst(tables)) {
        if (other != table)
            other->setColumnWidth(column, width);
    }
    following = false;
    settings->setValue(kWidthKey.arg(column), width);
}
