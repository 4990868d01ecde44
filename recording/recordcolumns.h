#ifndef RECORDCOLUMNS_H
#define RECORDCOLUMNS_H

#include <QList>

struct ColumnInfo;

// The seven columns of the record tables, in column order, with their
// titles translated in the main window's context.
class RecordColumns
{
public:
    // New descriptors; the caller owns them.
    static QList<ColumnInfo *> create();
};

#endif // RECORDCOLUMNS_H
