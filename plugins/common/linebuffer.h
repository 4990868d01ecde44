#ifndef LINEBUFFER_H
#define LINEBUFFER_H

#include <QByteArray>
#include <QList>

// Cuts a byte stream into lines terminated by LF (a CR before it is dropped).
// A line longer than kMaxLineBytes is discarded up to its terminator, and a
// fragment that waited longer than kStaleFragmentMs for its end is thrown
// away, so a line cut short by the sender cannot be glued to the next one.
class LineBuffer
{
public:
    static constexpr int kMaxLineBytes = 1024;
    static constexpr qint64 kStaleFragmentMs = 250;

    // nowMs: any monotonic clock in milliseconds.
    QList<QByteArray> append(const QByteArray &data, qint64 nowMs);
    void clear();
    bool hasFragment() const { return !m_pending.isEmpty() || m_overflow; }

private:
    QByteArray m_pending;
    qint64 m_fragmentStartMs = 0;
    bool m_overflow = false; // discarding the rest of an over-long line
};

#endif // LINEBUFFER_H
