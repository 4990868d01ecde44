#include "sessionloader.h"

#include "readingtable.h"

#include <QMetaObject>
#include <QThread>

SessionLoader::SessionLoader(QObject *parent) : QObject(parent), table(std::make_unique<ReadingTable>()) {}

SessionLoader::~SessionLoader()
{
    if (thread) {
        cancel();
        thread->wait();
        delete thread;
    }
}

void SessionLoader::start(const QString &path)
{
    if (thread)
        return;
    ReadingTable *readings = table.get();
    thread = QThread::create([this, path, readings] {
        const SessionFile::Result result = SessionFile::read(path, readings, cancelled, [this](int permille) {
            // Queued to the loader's thread; a loader destroyed meanwhile
            // waited for this thread first, and its pending calls go with it.
            QMetaObject::invokeMethod(this, [this, permille] { emit progressed(permille); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(this, [this, result] { emit finished(result); }, Qt::QueuedConnection);
    });
    thread->start();
}

void SessionLoader::cancel()
{
    cancelled = true;
}

std::unique_ptr<ReadingTable> SessionLoader::takeReadings()
{
    if (thread)
        thread->wait();
    return std::move(table);
}
