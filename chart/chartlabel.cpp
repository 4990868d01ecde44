#include "chartlabel.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMega = 1000000.0;
constexpr double kKilo = 1000.0;
} // namespace

QString ChartLabel::value(double value, int decimals)
{
    double magnitude = std::abs(value);
    QString suffix;
    if (magnitude >= kMega) {
        magnitude /= kMega;
        suffix = QStringLiteral("M");
    } else if (magnitude >= kKilo) {
        magnitude /= kKilo;
        suffix = QStringLiteral("k");
    }
    QString text = QString::number(magnitude, 'f', decimals) + suffix;
    // Only a label that shows a non-zero digit gets a sign: the zero level
    // is labelled by both the upward and the downward pass.
    const bool showsNonZero = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isDigit() && c != QLatin1Char('0');
    });
    if (value < 0 && showsNonZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString ChartLabel::time(const QDateTime &time)
{
    return time.toString(QStringLiteral("hh:mm:ss"));
}
