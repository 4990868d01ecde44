#ifndef READINGTIME_H
#define READINGTIME_H

#include <QString>

class QDateTime;

// How the time of a reading is written for people: in the record tables,
// the hover labels, the workbook and the printed table alike.
class ReadingTime
{
public:
    // "yyyy-MM-dd hh:mm:ss", in Qt's and the spreadsheets' notation alike.
    static QString format();
    static QString text(const QDateTime &time);
    // timeMs since the epoch, shown in local time.
    static QString text(qint64 timeMs);
};

#endif // READINGTIME_H
