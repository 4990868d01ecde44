#include "recorder.h"

#include "datamodel.h"
#include "dmmdata.h"
#include "imydmm.h"
#include "sessionlog.h"

Recorder::Recorder(const QList<ColumnInfo *> &columns, const QString &sessionFolder, QObject *parent)
    : QObject(parent), log(new SessionLog(sessionFolder, this))
{
    for (quint8 channel = 1; channel <= ReadingTable::kChannelCount; ++channel)
        channelModels << new DataModel(columns, channel, &table);
}

Recorder::~Recorder()
{
    // Views that still show a model let go of it when it is destroyed.
    qDeleteAll(channelModels);
}

void Recorder::setDriver(IMyDmm *driver)
{
    this->driver = driver;
}

bool Recorder::record(const QList<DmmData *> &records)
{
    // The tables stay row for row in step, so a short delivery is not recorded.
    const bool recorded = records.size() >= ReadingTable::kChannelCount && mayRecord();
    if (recorded) {
        table.append(ReadingTable::fromRecords(*records.at(0), *records.at(1), *records.at(2)));
        const int row = table.count() - 1;
        for (DataModel *model : qAsConst(channelModels))
            model->showNewRows();
        log->append(table, row);
        if (limitAnnounced) {
            limitAnnounced = false;
            emit recordingResumed();
        }
        emit rowAppended(row);
    }
    qDeleteAll(records);
    return recorded;
}

// The output must be on, and the tables below the limit unless it is lifted.
bool Recorder::mayRecord()
{
    if (!driver || !driver->isOutputOn())
        return false;
    if (driver->isInfinite() || table.count() < driver->samplePoints())
        return true;
    if (!limitAnnounced) {
        limitAnnounced = true;
        emit limitReached(driver->samplePoints());
    }
    return false;
}

void Recorder::clear()
{
    table.clear();
    for (DataModel *model : qAsConst(channelModels))
        model->clear();
    log->close();
    emit cleared();
}

const ReadingTable &Recorder::readings() const
{
    return table;
}

const QList<DataModel *> &Recorder::models() const
{
    return channelModels;
}

SessionLog *Recorder::sessionLog() const
{
    return log;
}
