#ifndef RECORDER_H
#define RECORDER_H

#include "readingtable.h"

#include <QList>
#include <QObject>

class DataModel;
class DmmData;
class IMyDmm;
class SessionLog;
struct ColumnInfo;

// Records the readings that the driver delivers while the output is on and
// the sample-point limit allows, into one ReadingTable that the channels'
// record models, the charts, the export and the session log all read.
// A delivered record is copied into the table's compact row and deleted at
// once, recorded or not.
//
// Readers learn what happened from its signals: a row appended to all
// channels, the limit reached, recording running again, the tables emptied.
class Recorder : public QObject
{
    Q_OBJECT
public:
    // columns belong to the caller and outlive the recorder; session logs go
    // to sessionFolder.
    Recorder(const QList<ColumnInfo *> &columns, const QString &sessionFolder, QObject *parent = nullptr);
    ~Recorder() override;

    // Where the output state and the sample-point limit are read at each
    // delivery, as they are the driver's; without one nothing is recorded.
    void setDriver(IMyDmm *driver);
    // Takes the records of one delivery, one per channel, channel 1 first,
    // and deletes them; true when they were recorded.
    bool record(const QList<DmmData *> &records);
    // Empties the tables; the next reading starts a new session file.
    void clear();

    const ReadingTable &readings() const;
    // The record models of channels 1, 2 and 3; owned by the recorder.
    const QList<DataModel *> &models() const;
    SessionLog *sessionLog() const;

signals:
    // A reading was recorded, in this row of every channel.
    void rowAppended(int row);
    // Recording reached the limit and drops readings; said once each time.
    void limitReached(int samplePoints);
    // A reading was recorded again after the limit had stopped recording.
    void recordingResumed();
    void cleared();

private:
    bool mayRecord();

    ReadingTable table;
    QList<DataModel *> channelModels;
    SessionLog *log; // child
    IMyDmm *driver = nullptr;
    bool limitAnnounced = false;
};

#endif // RECORDER_H
