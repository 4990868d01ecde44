#include "eventlog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {
const QByteArray kHeader = QByteArrayLiteral("time,origin,event\n");

// Quoted when the text holds a separator, a quote or a line end.
QByteArray csvField(const QString &text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
}
} // namespace

EventLog::EventLog(QObject *parent) : QObject(parent)
{
    flushTimer.setSingleShot(true);
    flushTimer.setInterval(kFlushDelayMs);
    connect(&flushTimer, &QTimer::timeout, this, &EventLog::flush);
}

EventLog::~EventLog()
{
    // What is gathered goes to the file, in whole lines.
    file.close();
}

QString EventLog::originName(Origin origin)
{
    switch (origin) {
    case Origin::Panel:
        return QStringLiteral("panel");
    case Origin::Sequence:
        return QStringLiteral("sequence");
    case Origin::Timer:
        return QStringLiteral("timer");
    case Origin::Condition:
        return QStringLiteral("condition");
    case Origin::Remote:
        return QStringLiteral("remote");
    case Origin::Program:
        break;
    }
    return QStringLiteral("program");
}

QString EventLog::fileFor(const QString &sessionFile)
{
    const QFileInfo session(sessionFile);
    return session.dir().filePath(session.completeBaseName() + QStringLiteral("-events.csv"));
}

void EventLog::add(Origin origin, const QString &event)
{
    // The readings' own clock: the driver stamps them with the local time.
    const QString time = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
    const QByteArray line = time.toLatin1() + ',' + originName(origin).toLatin1() + ',' + csvField(event) + '\n';
    if (file.isOpen()) {
        write(line);
    } else if (!stopped) {
        if (waiting.size() >= kMaxWaitingEvents)
            waiting.removeFirst();
        waiting << line;
    }
}

void EventLog::setSessionFile(const QString &sessionFile)
{
    flush();
    file.close();
    stopped = false;
    if (sessionFile.isEmpty())
        return;
    // Append: the session may go on in the same file after a reconnection.
    if (!file.open(fileFor(sessionFile), QIODevice::WriteOnly | QIODevice::Append)) {
        stop(file.errorString());
        return;
    }
    if (file.size() == 0)
        write(kHeader);
    const QList<QByteArray> lines = waiting;
    waiting.clear();
    for (const QByteArray &line : lines)
        write(line);
}

void EventLog::write(const QByteArray &line)
{
    if (!file.isOpen())
        return;
    file.append(line);
    if (!flushTimer.isActive())
        flushTimer.start();
}

void EventLog::flush()
{
    flushTimer.stop();
    if (!file.flush())
        stop(file.errorString());
}

void EventLog::stop(const QString &reason)
{
    flushTimer.stop();
    file.close();
    stopped = true;
    emit failed(file.fileName(), reason);
}
