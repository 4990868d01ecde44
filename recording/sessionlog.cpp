#include "sessionlog.h"

#include "readingrow.h"
#include "readingtable.h"

#include <QDateTime>
#include <QDir>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcRecording, "luma.recording", QtInfoMsg)

namespace {
const QString kFileNameFormat = QStringLiteral("yyyy-MM-dd_hhmmss");
// Sessions started within the same second get "_2", "_3"… after the time.
constexpr int kMaxNamesPerSecond = 1000;
// Gathered lines go out early when they pile up this much.
constexpr int kMaxPendingBytes = 64 * 1024;
} // namespace

SessionLog::SessionLog(const QString &folder, QObject *parent) : QObject(parent), folder(folder)
{
    flushTimer.setSingleShot(true);
    flushTimer.setInterval(kFlushDelayMs);
    connect(&flushTimer, &QTimer::timeout, this, &SessionLog::flush);
}

SessionLog::~SessionLog()
{
    // What is gathered goes to the file; a failure now has nobody left to
    // tell, but still leaves whole lines.
    const QSignalBlocker quiet(this);
    flush();
}

void SessionLog::append(const ReadingTable &table, int row)
{
    if (stopped || (!file.isOpen() && !start(table.timeMs(row))))
        return;
    file.append(ReadingRow::line(table, row));
    if (file.pendingBytes() >= kMaxPendingBytes)
        flush();
    else if (!flushTimer.isActive())
        flushTimer.start();
}

void SessionLog::close()
{
    flush();
    file.close();
    stopped = false;
    endAnnouncedFile();
}

QString SessionLog::fileName() const
{
    return file.isOpen() ? file.fileName() : QString();
}

bool SessionLog::start(qint64 firstReadingMs)
{
    if (!QDir().mkpath(folder)) {
        stop(folder, tr("the folder cannot be created"));
        return false;
    }
    const QString name = QDateTime::fromMSecsSinceEpoch(firstReadingMs).toString(kFileNameFormat);
    for (int number = 1; number <= kMaxNamesPerSecond; ++number) {
        const QString suffix = number == 1 ? QString() : QStringLiteral("_%1").arg(number);
        // NewOnly: an existing session is never written over, even by another instance.
        if (file.open(QDir(folder).filePath(name + suffix + QStringLiteral(".csv")),
                      QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!file.exists()) {
            stop(file.fileName(), file.errorString());
            return false;
        }
    }
    if (!file.isOpen()) {
        stop(file.fileName(), tr("no free file name"));
        return false;
    }
    file.append(ReadingRow::header());
    if (!flush())
        return false;
    qCInfo(lcRecording) << "session log" << file.fileName();
    announced = true;
    emit fileChanged(file.fileName());
    return true;
}

bool SessionLog::flush()
{
    flushTimer.stop();
    if (file.flush())
        return true;
    stop(file.fileName(), file.errorString());
    return false;
}

void SessionLog::stop(const QString &where, const QString &reason)
{
    qCWarning(lcRecording) << "session log stopped:" << where << reason;
    flushTimer.stop();
    file.close();
    stopped = true;
    endAnnouncedFile();
    emit failed(where, reason);
}

void SessionLog::endAnnouncedFile()
{
    if (!announced)
        return;
    announced = false;
    emit fileChanged(QString());
}
