#include "commandinterpreter.h"

#include "instrumentmodel.h"

#include <QRegularExpression>

#include <cmath>

namespace {
// A keyword such as "VOLTage" matches its short form "VOLT" or its long form "VOLTAGE".
bool keyword(const QByteArray &name, const char *pattern)
{
    const QByteArray full(pattern);
    QByteArray shortForm;
    for (const char c : full) {
        if (c < 'A' || c > 'Z')
            break;
        shortForm.append(c);
    }
    return name == shortForm || name == full.toUpper();
}

QByteArray volts(double value, int decimals)
{
    return QByteArray::number(value, 'f', decimals);
}

QByteArray flag(const InstrumentModel::Measurement &m)
{
    return m.constantCurrent ? QByteArrayLiteral("CC") : QByteArrayLiteral("CV");
}

QByteArray trackText(InstrumentModel::Track track)
{
    switch (track) {
    case InstrumentModel::Series:
        return QByteArrayLiteral("SER");
    case InstrumentModel::Parallel:
        return QByteArrayLiteral("PAR");
    case InstrumentModel::Independent:
        break;
    }
    return QByteArrayLiteral("IND");
}
} // namespace

CommandInterpreter::CommandInterpreter(InstrumentModel &model)
    : m_model(model)
{
}

std::optional<QByteArray> CommandInterpreter::fail(int code)
{
    m_model.pushError(code);
    return std::nullopt;
}

std::optional<QByteArray> CommandInterpreter::execute(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (const char c : text) {
        if ((c < ' ' || c > '~') && c != '\t')
            return fail(InstrumentModel::kErrInvalidCharacter);
    }

    const QByteArray simplified = text.simplified();
    const int space = simplified.indexOf(' ');
    QByteArray header = space < 0 ? simplified : simplified.left(space);
    const QByteArray parameter = space < 0 ? QByteArray() : simplified.mid(space + 1);
    const bool query = header.endsWith('?');
    if (query)
        header.chop(1);
    if (query && !parameter.isEmpty())
        return fail(InstrumentModel::kErrParameterNotAllowed);

    if (header.startsWith('*'))
        return common(header.mid(1).toUpper(), query, parameter);

    if (header.startsWith(':'))
        header.remove(0, 1);
    static const QRegularExpression nodePattern(QStringLiteral("^([A-Za-z]+)([0-9]*)$"));
    QList<Node> nodes;
    for (const QByteArray &part : header.split(':')) {
        const QRegularExpressionMatch match = nodePattern.match(QString::fromLatin1(part));
        if (!match.hasMatch())
            return fail(InstrumentModel::kErrSyntax);
        const QString digits = match.captured(2);
        const int suffix = digits.isEmpty() ? -1 : (digits.size() > 3 ? 1000 : digits.toInt());
        nodes.append({match.captured(1).toUpper().toLatin1(), suffix});
    }
    return subsystem(nodes, query, parameter);
}

std::optional<QByteArray> CommandInterpreter::common(const QByteArray &header, bool query, const QByteArray &parameter)
{
    if (header == "IDN" && query)
        return m_model.identity();
    if (query)
        return fail(InstrumentModel::kErrUndefinedHeader);
    if (header == "RST" || header == "CLS") {
        if (!parameter.isEmpty())
            return fail(InstrumentModel::kErrParameterNotAllowed);
        if (header == "RST")
            m_model.reset();
        else
            m_model.clearErrors();
        return std::nullopt;
    }
    if (header == "SAV" || header == "RCL") {
        const std::optional<int> memory = integerParameter(parameter);
        if (!memory)
            return std::nullopt;
        const int error = header == "SAV" ? m_model.store(*memory) : m_model.recall(*memory);
        return error ? fail(error) : std::nullopt;
    }
    return fail(InstrumentModel::kErrUndefinedHeader);
}

std::optional<QByteArray> CommandInterpreter::subsystem(const QList<Node> &nodes, bool query,
                                                        const QByteArray &parameter)
{
    const Node &root = nodes.first();
    const int depth = nodes.size();
    // Only SOURce takes a channel suffix.
    for (int i = 0; i < depth; ++i) {
        const bool sourceRoot = i == 0 && keyword(root.name, "SOURce");
        if (nodes[i].suffix >= 0 && !sourceRoot)
            return fail(InstrumentModel::kErrSuffixOutOfRange);
    }

    if (keyword(root.name, "INSTrument") && (depth == 1 || (depth == 2 && keyword(nodes[1].name, "NSELect")))) {
        if (query)
            return QByteArray::number(m_model.selectedChannel());
        const std::optional<int> channel = integerParameter(parameter);
        if (!channel)
            return std::nullopt;
        const int error = m_model.selectChannel(*channel);
        return error ? fail(error) : std::nullopt;
    }

    if (keyword(root.name, "OUTPut") && (depth == 1 || (depth == 2 && keyword(nodes[1].name, "STATe")))) {
        if (query)
            return QByteArray(m_model.isOutputOn() ? "1" : "0");
        const QByteArray value = parameter.toUpper();
        if (value.isEmpty())
            return fail(InstrumentModel::kErrMissingParameter);
        if (value == "ON" || value == "1")
            m_model.setOutput(true);
        else if (value == "OFF" || value == "0")
            m_model.setOutput(false);
        else
            return fail(InstrumentModel::kErrIllegalValue);
        return std::nullopt;
    }

    if (keyword(root.name, "OUTPut") && depth == 2 && keyword(nodes[1].name, "TRACk")) {
        if (query)
            return trackText(m_model.track());
        const QByteArray value = parameter.toUpper();
        if (value.isEmpty())
            return fail(InstrumentModel::kErrMissingParameter);
        if (keyword(value, "INDependent"))
            m_model.setTrack(InstrumentModel::Independent);
        else if (keyword(value, "SERies"))
            m_model.setTrack(InstrumentModel::Series);
        else if (keyword(value, "PARallel"))
            m_model.setTrack(InstrumentModel::Parallel);
        else
            return fail(InstrumentModel::kErrIllegalValue);
        return std::nullopt;
    }

    if (keyword(root.name, "SOURce") && depth == 2) {
        const int channel = root.suffix < 0 ? 1 : root.suffix;
        if (keyword(nodes[1].name, "VOLTage"))
            return source(channel, true, query, parameter);
        if (keyword(nodes[1].name, "CURRent"))
            return source(channel, false, query, parameter);
    }

    if (keyword(root.name, "MEASure") && depth == 2 && keyword(nodes[1].name, "ALL") && query)
        return readingReply();

    if (keyword(root.name, "SYSTem") && query && depth >= 2 && depth <= 3 && keyword(nodes[1].name, "ERRor")
        && (depth == 2 || keyword(nodes[2].name, "NEXT")))
        return m_model.popError();

    return fail(InstrumentModel::kErrUndefinedHeader);
}

std::optional<QByteArray> CommandInterpreter::source(int channel, bool voltage, bool query,
                                                     const QByteArray &parameter)
{
    const int lastChannel = voltage ? InstrumentModel::kChannelCount : 2;
    if (channel < 1 || channel > lastChannel)
        return fail(InstrumentModel::kErrSuffixOutOfRange);
    if (query) {
        if (voltage)
            return volts(m_model.voltageSetting(channel), channel == 3 ? 1 : 2);
        return QByteArray::number(m_model.currentSetting(channel), 'f', 3);
    }
    const std::optional<double> value = numberParameter(parameter);
    if (!value)
        return std::nullopt;
    const int error = voltage ? m_model.setVoltage(channel, *value) : m_model.setCurrent(channel, *value);
    return error ? fail(error) : std::nullopt;
}

std::optional<double> CommandInterpreter::numberParameter(const QByteArray &parameter)
{
    if (parameter.isEmpty()) {
        fail(InstrumentModel::kErrMissingParameter);
        return std::nullopt;
    }
    if (parameter.contains(',') || parameter.contains(' ')) {
        fail(InstrumentModel::kErrParameterNotAllowed);
        return std::nullopt;
    }
    static const QRegularExpression numberPattern(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    bool ok = false;
    const double value = parameter.toDouble(&ok);
    if (!numberPattern.match(QString::fromLatin1(parameter)).hasMatch() || !ok || !std::isfinite(value)) {
        fail(InstrumentModel::kErrDataType);
        return std::nullopt;
    }
    return value;
}

std::optional<int> CommandInterpreter::integerParameter(const QByteArray &parameter)
{
    const std::optional<double> value = numberParameter(parameter);
    if (!value)
        return std::nullopt;
    if (*value != std::floor(*value) || std::fabs(*value) > 1000) {
        fail(InstrumentModel::kErrOutOfRange);
        return std::nullopt;
    }
    return int(*value);
}

QByteArray CommandInterpreter::readingReply()
{
    const std::array<InstrumentModel::Measurement, InstrumentModel::kChannelCount> m = m_model.measure();
    QList<QByteArray> fields;
    for (const InstrumentModel::Measurement &channel : m) {
        fields << volts(channel.volts, 2) << QByteArray::number(channel.amps, 'f', 3)
               << QByteArray::number(channel.watts, 'f', 2);
    }
    fields << volts(m_model.voltageSetting(1), 2) << QByteArray::number(m_model.currentSetting(1), 'f', 3)
           << volts(m_model.voltageSetting(2), 2) << QByteArray::number(m_model.currentSetting(2), 'f', 3)
           << volts(m_model.voltageSetting(3), 1) << flag(m[0]) << flag(m[1])
           << QByteArray(m_model.isOutputOn() ? "1" : "0") << trackText(m_model.track())
           << QByteArray::number(m_model.selectedChannel());
    return fields.join(',');
}
