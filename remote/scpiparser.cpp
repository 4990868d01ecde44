#include "scpiparser.h"

#include <QRegularExpression>

namespace {
struct HeaderPattern
{
    const char *pattern; // keywords joined by ':', optional ones in brackets
    ScpiHeader header;
    bool command;        // may be sent without '?'
    bool query;          // may be sent with '?'
};

const HeaderPattern kHeaders[] = {
    {"*IDN", ScpiHeader::Identify, false, true},
    {"*CLS", ScpiHeader::ClearStatus, true, false},
    {"*OPC", ScpiHeader::OperationDone, true, true},
    {"*RST", ScpiHeader::Reset, true, false},
    {"SYSTem:ERRor[:NEXT]", ScpiHeader::NextError, false, true},
    {"SYSTem:CONNect", ScpiHeader::Connected, false, true},
    {"INSTrument[:SELect]", ScpiHeader::Select, true, true},
    {"INSTrument:NSELect", ScpiHeader::SelectNumber, true, true},
    {"[SOURce:]VOLTage", ScpiHeader::Voltage, true, true},
    {"[SOURce:]CURRent", ScpiHeader::Current, true, true},
    {"OUTPut[:STATe]", ScpiHeader::Output, true, true},
    {"OUTPut:TRACk", ScpiHeader::Tracking, true, true},
    {"MEASure:VOLTage", ScpiHeader::MeasureVoltage, false, true},
    {"MEASure:CURRent", ScpiHeader::MeasureCurrent, false, true},
    {"MEASure:POWer", ScpiHeader::MeasurePower, false, true},
    {"MEASure:ALL", ScpiHeader::MeasureAll, false, true},
    {"DATA:POINts", ScpiHeader::DataPoints, false, true},
    {"DATA:READ", ScpiHeader::DataRead, false, true},
};

struct PatternNode
{
    QByteArray keyword;
    bool optional;
};

// "[SOURce:]VOLTage" -> SOURce (optional), VOLTage.
QList<PatternNode> patternNodes(const char *pattern)
{
    QList<PatternNode> nodes;
    bool optional = false;
    QByteArray keyword;
    auto finish = [&] {
        if (!keyword.isEmpty())
            nodes.append({keyword, optional});
        keyword.clear();
    };
    for (const char *c = pattern; *c; ++c) {
        if (*c == '[') {
            finish();
            optional = true;
        } else if (*c == ']') {
            finish();
            optional = false;
        } else if (*c == ':') {
            finish();
        } else {
            keyword += *c;
        }
    }
    finish();
    return nodes;
}

// Every node of the header matched in order, optional pattern nodes skipped where absent.
bool matches(const QList<QByteArray> &words, int word, const QList<PatternNode> &nodes, int node)
{
    if (node == nodes.size())
        return word == words.size();
    if (word < words.size() && ScpiParser::matchesKeyword(words.at(word), nodes.at(node).keyword)
        && matches(words, word + 1, nodes, node + 1))
        return true;
    return nodes.at(node).optional && matches(words, word, nodes, node + 1);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
} // namespace

std::optional<ScpiCommand> ScpiParser::parse(const QByteArray &line, int *error)
{
    const QByteArray text = line.trimmed();
    int split = 0;
    while (split < text.size() && !isBlank(text.at(split)))
        ++split;
    QByteArray header = text.left(split);
    const QByteArray rest = text.mid(split).trimmed();

    ScpiCommand command;
    if (header.endsWith('?')) {
        command.query = true;
        header.chop(1);
    }
    // A leading ':' names the root, which is where every header starts anyway.
    if (header.startsWith(':'))
        header.remove(0, 1);
    static const QRegularExpression headerChars(QStringLiteral("^\\*?[A-Za-z][A-Za-z0-9]*(:[A-Za-z][A-Za-z0-9]*)*$"));
    if (!headerChars.match(QString::fromLatin1(header)).hasMatch()) {
        *error = kUndefinedHeader;
        return std::nullopt;
    }

    const QList<QByteArray> words = header.split(':');
    const HeaderPattern *found = nullptr;
    for (const HeaderPattern &pattern : kHeaders) {
        if (matches(words, 0, patternNodes(pattern.pattern), 0)) {
            found = &pattern;
            break;
        }
    }
    if (!found || (command.query ? !found->query : !found->command)) {
        *error = kUndefinedHeader;
        return std::nullopt;
    }
    command.header = found->header;

    if (!rest.isEmpty()) {
        for (const QByteArray &parameter : rest.split(',')) {
            const QByteArray trimmed = parameter.trimmed();
            if (trimmed.isEmpty()) {
                *error = kSyntaxError;
                return std::nullopt;
            }
            command.parameters.append(trimmed);
        }
    }
    *error = 0;
    return command;
}

bool ScpiParser::matchesKeyword(const QByteArray &word, const QByteArray &keyword)
{
    QByteArray shortForm;
    for (const char c : keyword) {
        if (!(c >= 'a' && c <= 'z'))
            shortForm += c;
    }
    const QByteArray upper = word.toUpper();
    return upper == shortForm || upper == keyword.toUpper();
}

std::optional<double> ScpiParser::number(const QByteArray &text)
{
    // Decimal only: no hexadecimal, no "inf" or "nan", no units.
    static const QRegularExpression decimal(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d{1,3})?$"));
    if (!decimal.match(QString::fromLatin1(text)).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<bool> ScpiParser::boolean(const QByteArray &text)
{
    const QByteArray upper = text.toUpper();
    if (upper == "ON" || upper == "1")
        return true;
    if (upper == "OFF" || upper == "0")
        return false;
    return std::nullopt;
}
