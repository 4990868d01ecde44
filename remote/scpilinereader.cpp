#include "scpilinereader.h"

QList<ScpiLineReader::Line> ScpiLineReader::append(const QByteArray &data)
{
    QList<Line> lines;
    int start = 0;
    while (start < data.size()) {
        const int end = data.indexOf('\n', start);
        const int stop = end < 0 ? data.size() : end;
        if (!dropping) {
            pending.append(data.constData() + start, qMin(stop - start, kMaxLineBytes + 1 - pending.size()));
            if (pending.size() > kMaxLineBytes) {
                pending.clear();
                dropping = true;
                lines.append({QByteArray(), true});
            }
        }
        if (end < 0)
            break;
        if (!dropping) {
            if (pending.endsWith('\r'))
                pending.chop(1);
            lines.append({pending, false});
        }
        pending.clear();
        dropping = false;
        start = end + 1;
    }
    return lines;
}
