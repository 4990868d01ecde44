#include "sessionlog.h"

#include "dmmdata.h"
#include "readingrow.h"

#include <QDateTime>
#include <QDir>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>

Q_LOGGING_CATEGORY(lcRecording, "luma.recording", QtInfoMsg)

namespace {
const QString kFileNameFormat = QStringLiteral("yyyy-MM-dd_hhmmss");
// Sessions started within the same second get "_2", "_3"… after the time.
constexpr int kMaxNamesPerSecond = 1000;

// QFile leaves its error text empty when a write stops part-way, as on a
// full disk; right after the failed call errno still holds the reason.
QString writeFailure()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

SessionLog::SessionLog(const QString &folder, QObject *parent) : QObject(parent), folder(folder)
{
    flushTimer.setSingleShot(true);
    flushTimer.setInterval(kFlushDelayMs);
    connect(&flushTimer, &QTimer::timeout, this, &SessionLog::flush);
}

SessionLog::~SessionLog()
{
    // What is buffered goes to the file; a failure now has nobody left to tell.
    file.close();
}

void SessionLog::append(const DmmData &channel1, const DmmData &channel2, const DmmData &channel3)
{
    if (stopped || (!file.isOpen() && !start(channel1.dateTime())))
        return;
    if (file.write(ReadingRow::line(channel1, channel2, channel3)) < 0) {
        stop(file.fileName(), writeFailure());
        return;
    }
    if (!flushTimer.isActive())
        flushTimer.start();
}

void SessionLog::close()
{
    flush();
    const bool hadFile = file.isOpen();
    file.close();
    stopped = false;
    if (hadFile)
        emit fileChanged(QString());
}

bool SessionLog::start(const QDateTime &firstReading)
{
    if (!QDir().mkpath(folder)) {
        stop(folder, tr("the folder cannot be created"));
        return false;
    }
    const QString name = firstReading.toString(kFileNameFormat);
    for (int number = 1; number <= kMaxNamesPerSecond; ++number) {
        const QString suffix = number == 1 ? QString() : QStringLiteral("_%1").arg(number);
        file.setFileName(QDir(folder).filePath(name + suffix + QStringLiteral(".csv")));
        // NewOnly: an existing session is never written over, even by another instance.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!file.exists()) {
            stop(file.fileName(), file.errorString());
            return false;
        }
    }
    if (!file.isOpen() || file.write(ReadingRow::header()) < 0) {
        stop(file.fileName(), file.isOpen() ? writeFailure() : tr("no free file name"));
        return false;
    }
    qCInfo(lcRecording) << "session log" << file.fileName();
    emit fileChanged(file.fileName());
    return true;
}

void SessionLog::flush()
{
    flushTimer.stop();
    if (file.isOpen() && !file.flush())
        stop(file.fileName(), writeFailure());
}

void SessionLog::stop(const QString &where, const QString &reason)
{
    qCWarning(lcRecording) << "session log stopped:" << where << reason;
    flushTimer.stop();
    const bool hadFile = file.isOpen();
    // Closing tries the buffered rest once more; on a full disk that is lost too.
    file.close();
    stopped = true;
    if (hadFile)
        emit fileChanged(QString());
    emit failed(where, reason);
}
