#ifndef SESSIONLOADER_H
#define SESSIONLOADER_H

#include "sessionfile.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;
class ReadingTable;

// Reads a session log on a thread of its own, so that the window stays
// responsive (and a live recording goes on) while millions of lines are
// read. Its signals arrive on the thread that created it.
class SessionLoader : public QObject
{
    Q_OBJECT
public:
    explicit SessionLoader(QObject *parent = nullptr);
    // Waits for a running read after asking it to stop.
    ~SessionLoader() override;

    // Starts reading; one read per loader.
    void start(const QString &path);
    void cancel();
    // The readings, once finished() reported a read file.
    std::unique_ptr<ReadingTable> takeReadings();

signals:
    void progressed(int permille);
    void finished(const SessionFile::Result &result);

private:
    std::unique_ptr<ReadingTable> table;
    std::atomic<bool> cancelled{false};
    QThread *thread = nullptr;
};

#endif // SESSIONLOADER_H
