#include "scpisession.h"

#include "remoteinstrument.h"
#include "scpiparser.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr int kDataTypeError = -104;
constexpr int kParameterNotAllowed = -108;
constexpr int kMissingParameter = -109;
constexpr int kExecutionError = -200;
constexpr int kSettingsConflict = -221;
constexpr int kOutOfRange = -222;
constexpr int kTooMuchData = -223;
constexpr int kStale = -230;
constexpr int kHardwareError = -240;
constexpr int kHardwareMissing = -241;

constexpr int kChannelCount = 3;
constexpr int kFixedChannel = 3; // a voltage set point of fixed levels only
constexpr double kMaxVolts = 32.0;
constexpr double kMaxAmperes = 3.2;
// The set points' resolution: hundredths of a volt (tenths on channel 3), thousandths of an ampere.
constexpr double kVoltSteps = 100.0;
constexpr double kFixedVoltSteps = 10.0;
constexpr double kAmpereSteps = 1000.0;
constexpr int kFixedLevelsTenths[] = {18, 25, 33, 50};

QByteArray answerLine(const QByteArray &text)
{
    return text + '\n';
}

QByteArray fixed(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

// A whole number given as a decimal parameter ("2", "2.0", "2E0").
std::optional<int> wholeNumber(double value)
{
    if (value != std::floor(value) || std::fabs(value) > 1e9)
        return std::nullopt;
    return int(value);
}
} // namespace

ScpiSession::ScpiSession(RemoteInstrument &instrument) : instrument(instrument) {}

int ScpiSession::channel() const
{
    return addressed;
}

ScpiErrorQueue &ScpiSession::errors()
{
    return queue;
}

ScpiSession::Result ScpiSession::execute(const QByteArray &line)
{
    if (line.trimmed().isEmpty())
        return {};
    int error = 0;
    const std::optional<ScpiCommand> command = ScpiParser::parse(line, &error);
    if (!command)
        return fail(error);
    const bool takesParameters = !command->query || command->header == ScpiHeader::DataRead;
    if (!takesParameters && !command->parameters.isEmpty())
        return fail(kParameterNotAllowed);
    return run(*command);
}

void ScpiSession::giveUp()
{
    switchPressed = false;
    queue.push(kHardwareError, "the instrument did not switch to CH" + QByteArray::number(addressed));
}

void ScpiSession::lineTooLong()
{
    queue.push(kTooMuchData, "the rest of the line was dropped");
}

ScpiSession::Result ScpiSession::fail(int code, const QByteArray &detail)
{
    queue.push(code, detail);
    return {};
}

bool ScpiSession::needsInstrument()
{
    if (instrument.isConnected())
        return true;
    queue.push(kHardwareMissing, "no instrument is connected");
    return false;
}

bool ScpiSession::oneParameter(const ScpiCommand &command)
{
    if (command.parameters.isEmpty()) {
        queue.push(kMissingParameter);
        return false;
    }
    if (command.parameters.size() > 1) {
        queue.push(kParameterNotAllowed);
        return false;
    }
    return true;
}

ScpiSession::Result ScpiSession::run(const ScpiCommand &command)
{
    switch (command.header) {
    case ScpiHeader::Identify:
        return {Result::Done, answerLine(instrument.identity())};
    case ScpiHeader::ClearStatus:
        if (!command.parameters.isEmpty())
            return fail(kParameterNotAllowed);
        queue.clear();
        return {};
    case ScpiHeader::OperationDone:
        if (!command.parameters.isEmpty())
            return fail(kParameterNotAllowed);
        // Every command before it has been handed to the driver already.
        return {Result::Done, command.query ? answerLine("1") : QByteArray()};
    case ScpiHeader::Reset:
        // A script must not switch a supply's outputs by accident.
        return fail(kExecutionError, "*RST is refused, the instrument stays as it is");
    case ScpiHeader::NextError:
        return {Result::Done, answerLine(queue.next())};
    case ScpiHeader::Connected:
        return {Result::Done, answerLine(instrument.isConnected() ? "1" : "0")};
    case ScpiHeader::Select:
        return select(command, false);
    case ScpiHeader::SelectNumber:
        return select(command, true);
    case ScpiHeader::Voltage:
        return setPoint(command, true);
    case ScpiHeader::Current:
        return setPoint(command, false);
    case ScpiHeader::Output:
        return output(command);
    case ScpiHeader::Tracking:
        return tracking(command);
    case ScpiHeader::MeasureVoltage:
    case ScpiHeader::MeasureCurrent:
    case ScpiHeader::MeasurePower:
    case ScpiHeader::MeasureAll:
        return measure(command);
    case ScpiHeader::DataPoints:
        return {Result::Done, answerLine(QByteArray::number(instrument.recordedCount()))};
    case ScpiHeader::DataRead:
        return readData(command);
    }
    return {};
}

ScpiSession::Result ScpiSession::select(const ScpiCommand &command, bool byNumber)
{
    if (command.query) {
        const QByteArray number = QByteArray::number(addressed);
        return {Result::Done, answerLine(byNumber ? number : "CH" + number)};
    }
    if (!oneParameter(command))
        return {};
    const QByteArray &parameter = command.parameters.first();
    std::optional<int> channel;
    if (byNumber) {
        const std::optional<double> value = ScpiParser::number(parameter);
        if (!value)
            return fail(kDataTypeError);
        channel = wholeNumber(*value);
    } else {
        static const QRegularExpression name(QStringLiteral("^CH(\\d{1,9})$"),
                                             QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = name.match(QString::fromLatin1(parameter));
        if (!match.hasMatch())
            return fail(kDataTypeError);
        channel = match.captured(1).toInt();
    }
    if (!channel || *channel < 1 || *channel > kChannelCount)
        return fail(kOutOfRange);
    addressed = *channel;
    switchPressed = instrument.isConnected();
    if (switchPressed)
        instrument.selectChannel(addressed);
    return {Result::Applied, QByteArray()};
}

ScpiSession::Result ScpiSession::setPoint(const ScpiCommand &command, bool voltage)
{
    if (!voltage && addressed == kFixedChannel)
        return fail(kSettingsConflict, "CH3 has no current limit");
    if (command.query) {
        if (!needsInstrument())
            return {};
        const std::optional<double> value =
            voltage ? instrument.voltageSetPoint(addressed) : instrument.currentSetPoint(addressed);
        if (!value)
            return fail(kStale, "the instrument has not reported it yet");
        const int decimals = !voltage ? 3 : addressed == kFixedChannel ? 1 : 2;
        return {Result::Done, answerLine(fixed(*value, decimals))};
    }

    if (!oneParameter(command))
        return {};
    const std::optional<double> value = ScpiParser::number(command.parameters.first());
    if (!value)
        return fail(kDataTypeError);
    const double steps = !voltage ? kAmpereSteps : addressed == kFixedChannel ? kFixedVoltSteps : kVoltSteps;
    const double rounded = std::round(*value * steps) / steps;
    if (voltage && addressed == kFixedChannel) {
        const int tenths = int(std::lround(rounded * kFixedVoltSteps));
        if (std::find(std::begin(kFixedLevelsTenths), std::end(kFixedLevelsTenths), tenths)
            == std::end(kFixedLevelsTenths))
            return fail(kOutOfRange, "CH3 takes 1.8, 2.5, 3.3 or 5.0 V");
    } else if (!(rounded >= 0.0 && rounded <= (voltage ? kMaxVolts : kMaxAmperes))) {
        return fail(kOutOfRange, voltage ? "0 to 32.00 V" : "0 to 3.200 A");
    }
    if (!needsInstrument())
        return {};

    // Set points go to the channel the instrument has selected: switch it
    // first, as the panel's key would, and carry on once it reports the switch.
    if (instrument.selectedChannel() != addressed) {
        if (!switchPressed)
            instrument.selectChannel(addressed);
        switchPressed = true;
        return {Result::Waiting, QByteArray()};
    }
    switchPressed = false;
    if (voltage)
        instrument.setVoltage(rounded);
    else
        instrument.setCurrent(rounded);
    return {Result::Applied, QByteArray()};
}

ScpiSession::Result ScpiSession::output(const ScpiCommand &command)
{
    if (command.query) {
        if (!needsInstrument())
            return {};
        const std::optional<bool> on = instrument.isOutputOn();
        if (!on)
            return fail(kStale, "the instrument has not reported it yet");
        return {Result::Done, answerLine(*on ? "1" : "0")};
    }
    if (!oneParameter(command))
        return {};
    const std::optional<bool> on = ScpiParser::boolean(command.parameters.first());
    if (!on)
        return fail(kDataTypeError);
    if (!needsInstrument())
        return {};
    instrument.setOutput(*on);
    return {Result::Applied, QByteArray()};
}

ScpiSession::Result ScpiSession::tracking(const ScpiCommand &command)
{
    if (command.query) {
        if (!needsInstrument())
            return {};
        switch (instrument.tracking().value_or(0)) {
        case 1:
            return {Result::Done, answerLine("IND")};
        case 2:
            return {Result::Done, answerLine("PAR")};
        case 3:
            return {Result::Done, answerLine("SER")};
        default:
            return fail(kStale, "the instrument has not reported it yet");
        }
    }
    if (!oneParameter(command))
        return {};
    // In the order of the codes sent: 0 independent, 1 series, 2 parallel.
    static const QByteArray modes[] = {"INDependent", "SERies", "PARallel"};
    int mode = -1;
    for (int i = 0; i < int(std::size(modes)); ++i) {
        if (ScpiParser::matchesKeyword(command.parameters.first(), modes[i]))
            mode = i;
    }
    if (mode < 0)
        return fail(kDataTypeError);
    if (!needsInstrument())
        return {};
    instrument.setTracking(mode);
    return {Result::Applied, QByteArray()};
}

ScpiSession::Result ScpiSession::measure(const ScpiCommand &command)
{
    if (!needsInstrument())
        return {};
    const std::optional<RemoteReading> reading = instrument.newestReading(addressed);
    if (!reading)
        return fail(kStale, "no reading recorded yet: the output records while it is on");
    QString text;
    switch (command.header) {
    case ScpiHeader::MeasureVoltage:
        text = reading->voltage;
        break;
    case ScpiHeader::MeasureCurrent:
        text = reading->current;
        break;
    case ScpiHeader::MeasurePower:
        text = reading->power;
        break;
    default:
        text = reading->voltage + QLatin1Char(',') + reading->current + QLatin1Char(',') + reading->power;
        break;
    }
    return {Result::Done, answerLine(text.toLatin1())};
}

ScpiSession::Result ScpiSession::readData(const ScpiCommand &command)
{
    if (command.parameters.size() < 2)
        return fail(kMissingParameter, "first,count");
    if (command.parameters.size() > 2)
        return fail(kParameterNotAllowed);
    const std::optional<double> firstValue = ScpiParser::number(command.parameters.at(0));
    const std::optional<double> countValue = ScpiParser::number(command.parameters.at(1));
    if (!firstValue || !countValue)
        return fail(kDataTypeError);
    const std::optional<int> first = wholeNumber(*firstValue);
    const std::optional<int> count = wholeNumber(*countValue);
    const int recorded = instrument.recordedCount();
    if (!first || !count || *first < 1 || *count < 1 || *count > kMaxReadCount
        || qint64(*first) + *count - 1 > recorded)
        return fail(kOutOfRange, "readings 1 to " + QByteArray::number(recorded) + ", at most "
                                     + QByteArray::number(kMaxReadCount) + " at once");
    QByteArray lines;
    for (int index = *first - 1; index < *first - 1 + *count; ++index)
        lines += instrument.recordedLine(index);
    return {Result::Done, lines};
}
