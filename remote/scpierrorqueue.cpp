#include "scpierrorqueue.h"

namespace {
QByteArray entry(int code, const QByteArray &text)
{
    QByteArray quoted = text;
    quoted.replace('"', "\"\"");
    return QByteArray::number(code) + ",\"" + quoted + '"';
}
} // namespace

void ScpiErrorQueue::push(int code, const QByteArray &detail)
{
    if (entries.size() >= kCapacity) {
        entries.last() = entry(kQueueOverflow, standardText(kQueueOverflow));
        return;
    }
    QByteArray text = standardText(code);
    if (!detail.isEmpty())
        text += ';' + detail;
    entries.enqueue(entry(code, text));
}

QByteArray ScpiErrorQueue::next()
{
    return entries.isEmpty() ? entry(0, standardText(0)) : entries.dequeue();
}

void ScpiErrorQueue::clear()
{
    entries.clear();
}

int ScpiErrorQueue::size() const
{
    return entries.size();
}

QByteArray ScpiErrorQueue::standardText(int code)
{
    switch (code) {
    case 0:
        return "No error";
    case -102:
        return "Syntax error";
    case -104:
        return "Data type error";
    case -108:
        return "Parameter not allowed";
    case -109:
        return "Missing parameter";
    case -113:
        return "Undefined header";
    case -200:
        return "Execution error";
    case -221:
        return "Settings conflict";
    case -222:
        return "Data out of range";
    case -223:
        return "Too much data";
    case -230:
        return "Data corrupt or stale";
    case -240:
        return "Hardware error";
    case -241:
        return "Hardware missing";
    case kQueueOverflow:
        return "Queue overflow";
    default:
        return "Error";
    }
}
