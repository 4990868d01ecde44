#ifndef IDMM_H
#define IDMM_H

#include <QtPlugin>

QT_BEGIN_NAMESPACE
class QObject;
QT_END_NAMESPACE
class ISerialDev;

// The instrument driver. Its object emits, all on the GUI thread:
//   opened(), closed(), message(QString),
//   updateInstrument(quint8 channel), updateVersion(const QString&),
//   updateOutput(bool), updateOutputTrack(quint8),
//   updateCx(quint8 channel, quint8 flag)            flag 0 constant voltage, else constant current
//   updateSPMode(quint8 mode)                        1 independent, 2 parallel, 3 series
//   updateSource(quint8 channel, quint8 kind, QString value)   kind 0 voltage, 1 current
//   updateData(QList<DmmData*>)                      one new record per channel, channel 1 first;
//                                                    the receiver owns them
class IDmm
{
public:
    virtual ~IDmm() = default;
    virtual QObject *object() = 0;
    // True when the instrument answered; the driver then emits opened().
    virtual bool open(ISerialDev *device) = 0;
    virtual void close() = 0;
};

// The tracking modes of updateSPMode.
namespace ReportedTracking {
constexpr quint8 Independent = 1;
constexpr quint8 Parallel = 2;
constexpr quint8 Series = 3;
} // namespace ReportedTracking

#define IDmm_iid "com.tessel.LUMA4200.IDmm"
Q_DECLARE_INTERFACE(IDmm, IDmm_iid)

#endif // IDMM_H
