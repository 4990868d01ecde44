#ifndef DMMDATA_H
#define DMMDATA_H

#include <QDateTime>
#include <QString>

// One reading of one channel, as the driver delivers it with updateData().
// The driver creates the concrete record; once delivered it belongs to the
// application, which deletes it through this base class. The text accessors
// return finished display texts: the application never formats the numbers.
class DmmData
{
public:
    virtual ~DmmData() = default;

    virtual QDateTime dateTime() const = 0;
    virtual double voltageSetting() const = 0;        // volts
    virtual QString voltageSettingText() const = 0;
    virtual QString currentSettingText() const = 0;
    virtual QString powerSettingText() const = 0;     // shown while the output is off
    virtual double voltage() const = 0;               // volts
    virtual double current() const = 0;               // amperes
    virtual double power() const = 0;                 // watts
    virtual QString voltageText() const = 0;
    virtual QString currentText() const = 0;
    virtual QString powerText() const = 0;
    virtual quint8 trackMode() const = 0;             // 1 independent, 2 parallel, 3 series
    virtual quint8 ch1Flag() const = 0;               // 0 constant voltage, else constant current
    virtual quint8 ch2Flag() const = 0;
};

#endif // DMMDATA_H
