#ifndef COLUMNINFO_H
#define COLUMNINFO_H

#include <QString>

// A column of the record tables: its header title and its share of the
// printed table width.
struct ColumnInfo
{
    QString title;
    int widthFactor = 1;
};

#endif // COLUMNINFO_H
