#ifndef SCPIPARSER_H
#define SCPIPARSER_H

#include <QByteArray>
#include <QList>

#include <optional>

// The headers this program understands, whatever form the client wrote.
enum class ScpiHeader {
    Identify,       // *IDN
    ClearStatus,    // *CLS
    OperationDone,  // *OPC
    Reset,          // *RST
    NextError,      // SYSTem:ERRor[:NEXT]
    Connected,      // SYSTem:CONNect
    Select,         // INSTrument[:SELect]
    SelectNumber,   // INSTrument:NSELect
    Voltage,        // [SOURce:]VOLTage
    Current,        // [SOURce:]CURRent
    Output,         // OUTPut[:STATe]
    Tracking,       // OUTPut:TRACk
    MeasureVoltage, // MEASure:VOLTage
    MeasureCurrent, // MEASure:CURRent
    MeasurePower,   // MEASure:POWer
    MeasureAll,     // MEASure:ALL
    DataPoints,     // DATA:POINts
    DataRead,       // DATA:READ
};

struct ScpiCommand
{
    ScpiHeader header = ScpiHeader::Identify;
    bool query = false;
    QList<QByteArray> parameters; // trimmed, in order; never empty texts
};

// Reads one line of SCPI: a header (short or long keywords joined by ':',
// case-insensitive, optional keywords left out as the table allows, "?" for
// a query) and parameters separated by commas after a blank. One command a
// line; ';' is not a separator.
class ScpiParser
{
public:
    static constexpr int kUndefinedHeader = -113;
    static constexpr int kSyntaxError = -102;

    // The command, or the error code of the line in *error.
    static std::optional<ScpiCommand> parse(const QByteArray &line, int *error);

    // A keyword as written in the tables ("VOLTage"): its upper-case letters
    // are the short form, the whole word the long form; nothing in between.
    static bool matchesKeyword(const QByteArray &word, const QByteArray &keyword);

    // Parameters: a decimal number with optional sign, fraction and
    // exponent; ON/OFF/1/0.
    static std::optional<double> number(const QByteArray &text);
    static std::optional<bool> boolean(const QByteArray &text);
};

#endif // SCPIPARSER_H
