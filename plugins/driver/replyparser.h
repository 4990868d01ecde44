#ifndef REPLYPARSER_H
#define REPLYPARSER_H

#include "instrumentreading.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The identity an instrument gives in reply to *IDN?.
struct InstrumentIdentity
{
    QString manufacturer;
    QString model;
    QString serial;
    QString firmware;
};

// Parses the instrument's replies. Anything that is not exactly the expected
// form (field count, number syntax, plausible range) is refused as a whole, so
// a garbled line never becomes a reading.
class ReplyParser
{
public:
    static constexpr int kReadingFieldCount = 19;

    static std::optional<InstrumentIdentity> parseIdentity(const QByteArray &line);
    static std::optional<InstrumentReading> parseReading(const QByteArray &line);
};

#endif // REPLYPARSER_H
