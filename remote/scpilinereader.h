#ifndef SCPILINEREADER_H
#define SCPILINEREADER_H

#include <QByteArray>
#include <QList>

// Cuts a client's byte stream into lines ended by "\n" (a "\r" before it is
// dropped). A line longer than kMaxLineBytes is reported once as too long and
// the rest of it, up to its "\n", is dropped; so memory per client stays
// bounded whatever the client sends.
class ScpiLineReader
{
public:
    static constexpr int kMaxLineBytes = 4096;

    struct Line
    {
        QByteArray text;      // without its terminator
        bool tooLong = false; // text is empty; the line was dropped
    };

    QList<Line> append(const QByteArray &data);

private:
    QByteArray pending;
    bool dropping = false; // inside the rest of a line that was too long
};

#endif // SCPILINEREADER_H
