#ifndef SCPIERRORQUEUE_H
#define SCPIERRORQUEUE_H

#include <QByteArray>
#include <QQueue>

// A client's errors, oldest first, read one at a time with SYSTem:ERRor?.
// When the queue is full, its newest entry becomes "Queue overflow" and
// further errors are lost until the client reads some.
class ScpiErrorQueue
{
public:
    static constexpr int kCapacity = 16;
    static constexpr int kQueueOverflow = -350;

    // code: the SCPI error number; detail: appended to the standard text after ';'.
    void push(int code, const QByteArray &detail = QByteArray());
    // "<code>,\"<text>\"", or 0,"No error" when empty.
    QByteArray next();
    void clear();
    int size() const;

    static QByteArray standardText(int code);

private:
    QQueue<QByteArray> entries;
};

#endif // SCPIERRORQUEUE_H
