#include "linebuffer.h"

QList<QByteArray> LineBuffer::append(const QByteArray &data, qint64 nowMs)
{
    QList<QByteArray> lines;
    if (data.isEmpty())
        return lines;
    if (hasFragment() && nowMs - m_fragmentStartMs > kStaleFragmentMs)
        clear();

    int start = 0;
    while (start < data.size()) {
        if (!hasFragment())
            m_fragmentStartMs = nowMs;
        const int end = data.indexOf('\n', start);
        const int stop = end < 0 ? data.size() : end;
        if (!m_overflow) {
            m_pending.append(data.constData() + start, stop - start);
            if (m_pending.size() > kMaxLineBytes) {
                m_pending.clear();
                m_overflow = true;
            }
        }
        if (end < 0)
            break;
        if (!m_overflow) {
            if (m_pending.endsWith('\r'))
                m_pending.chop(1);
            lines.append(m_pending);
        }
        m_pending.clear();
        m_overflow = false;
        start = end + 1;
    }
    return lines;
}

void LineBuffer::clear()
{
    m_pending.clear();
    m_overflow = false;
}
