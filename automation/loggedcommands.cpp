#include "loggedcommands.h"

namespace {
const char *const kTrackingNames[] = {"independent", "series", "parallel"};
}

LoggedCommands::LoggedCommands(IMyDmm *driver, EventLog *log, EventLog::Origin origin,
                               std::function<quint8()> channel)
    : driver(driver), log(log), origin(origin), channel(std::move(channel))
{
}

void LoggedCommands::selectChannel(quint8 channel)
{
    driver->selectChannel(channel);
    logged(QStringLiteral("select CH%1").arg(channel));
}

void LoggedCommands::setOutput(bool on)
{
    driver->setOutput(on);
    logged(on ? QStringLiteral("set output on") : QStringLiteral("set output off"));
}

void LoggedCommands::setSPMode(quint8 mode)
{
    driver->setSPMode(mode);
    const QString name = mode < std::size(kTrackingNames) ? QString::fromLatin1(kTrackingNames[mode])
                                                          : QString::number(mode);
    logged(QStringLiteral("set tracking %1").arg(name));
}

void LoggedCommands::setCurrent(double amperes)
{
    driver->setCurrent(amperes);
    logged(QStringLiteral("set CH%1 current %2 A").arg(channel()).arg(amperes, 0, 'f', 3));
}

void LoggedCommands::setVoltage(double volts)
{
    driver->setVoltage(volts);
    logged(QStringLiteral("set CH%1 voltage %2 V").arg(channel()).arg(volts, 0, 'f', 2));
}

void LoggedCommands::memoryLongPress(int memory)
{
    driver->memoryLongPress(memory);
    logged(QStringLiteral("store memory M%1").arg(memory));
}

void LoggedCommands::memoryShortPress(int memory)
{
    driver->memoryShortPress(memory);
    logged(QStringLiteral("recall memory M%1").arg(memory));
}

void LoggedCommands::logged(const QString &event)
{
    log->add(origin, event);
    if (sent)
        sent();
}
