#ifndef SYSTEMERROR_H
#define SYSTEMERROR_H

#include <QString>

// The system's text for the error of the last failed call. QFile leaves its
// own error text empty when a write stops part-way, as on a full disk;
// right after the failed call errno still holds the reason.
class SystemError
{
public:
    static QString lastText();
};

#endif // SYSTEMERROR_H
