#include "readingtime.h"

#include <QDateTime>

QString ReadingTime::format()
{
    return QStringLiteral("yyyy-MM-dd hh:mm:ss");
}

QString ReadingTime::text(const QDateTime &time)
{
    return time.toString(format());
}

QString ReadingTime::text(qint64 timeMs)
{
    return text(QDateTime::fromMSecsSinceEpoch(timeMs));
}
