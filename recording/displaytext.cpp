#include "displaytext.h"

#include <algorithm>
#include <cmath>

namespace {
// Layout of a code: bits 0-23 the digits' value, bits 24-27 the digits
// after the point, bits 28-30 the digits before it less one, bit 31 the sign.
constexpr int kValueBits = 24;
constexpr quint32 kValueMask = (1u << kValueBits) - 1;
constexpr int kMaxDecimals = 7;
constexpr int kMaxIntegerDigits = 8;
constexpr int kDecimalsShift = 24;
constexpr int kIntegerShift = 28;
constexpr quint32 kNegative = 1u << 31;

quint32 code(bool negative, quint32 value, int decimals, int integerDigits)
{
    if (value > kValueMask || decimals > kMaxDecimals || integerDigits < 1 || integerDigits > kMaxIntegerDigits)
        return DisplayText::kUnpacked;
    // At most 7 decimals: no code has all bits set, which means "unpacked".
    return (negative ? kNegative : 0) | quint32(integerDigits - 1) << kIntegerShift
           | quint32(decimals) << kDecimalsShift | value;
}
} // namespace

quint32 DisplayText::pack(const QString &text)
{
    const int length = text.size();
    int i = 0;
    const bool negative = length > 0 && text.at(0) == QLatin1Char('-');
    if (negative)
        ++i;
    quint64 value = 0;
    int integerDigits = 0;
    for (; i < length && text.at(i).isDigit() && text.at(i).unicode() < 0x80; ++i, ++integerDigits)
        value = value * 10 + quint64(text.at(i).unicode() - '0');
    int decimals = 0;
    if (i < length && text.at(i) == QLatin1Char('.')) {
        ++i;
        for (; i < length && text.at(i).isDigit() && text.at(i).unicode() < 0x80; ++i, ++decimals)
            value = value * 10 + quint64(text.at(i).unicode() - '0');
        if (decimals == 0)
            return kUnpacked; // "5." would come back as "5"
    }
    if (i != length || integerDigits == 0 || value > kValueMask)
        return kUnpacked;
    return code(negative, quint32(value), decimals, integerDigits);
}

QString DisplayText::unpack(quint32 packed)
{
    const quint32 value = packed & kValueMask;
    const int decimals = int(packed >> kDecimalsShift & 0xF);
    const int integerDigits = int(packed >> kIntegerShift & 0x7) + 1;
    quint32 divisor = 1;
    for (int i = 0; i < decimals; ++i)
        divisor *= 10;
    QString text = QStringLiteral("%1").arg(value / divisor, integerDigits, 10, QLatin1Char('0'));
    if (decimals > 0)
        text += QLatin1Char('.') + QStringLiteral("%1").arg(value % divisor, decimals, 10, QLatin1Char('0'));
    return packed & kNegative ? QLatin1Char('-') + text : text;
}

quint32 DisplayText::fromScaled(qint64 scaled, int decimals, int integerDigits)
{
    const quint64 magnitude = quint64(scaled < 0 ? -scaled : scaled);
    if (magnitude > kValueMask)
        return kUnpacked;
    quint64 divisor = 1;
    for (int i = 0; i < decimals; ++i)
        divisor *= 10;
    int digits = 1;
    for (quint64 whole = magnitude / divisor; whole >= 10; whole /= 10)
        ++digits;
    return code(scaled < 0, quint32(magnitude), decimals, std::max(digits, integerDigits));
}

namespace {
// Layout of a form: bits 0-2 the decimals, bits 3-5 the digits before the
// point less one, bit 6 the rounding.
constexpr int kFormIntegerShift = 3;
constexpr quint8 kFormHalfUp = 1u << 6;
// Beyond this a double no longer holds every digit of a display text.
constexpr double kMaxFormValue = 1e9;

qint64 pow10(int exponent)
{
    qint64 result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}
} // namespace

quint8 DisplayText::form(int decimals, int integerDigits, Rounding rounding)
{
    return quint8(decimals | (integerDigits - 1) << kFormIntegerShift
                  | (rounding == Rounding::HundredthsHalfUp ? kFormHalfUp : 0));
}

quint8 DisplayText::form(quint32 code, double value)
{
    if (code == kUnpacked)
        return kNoForm;
    const int decimals = int(code >> kDecimalsShift & 0xF);
    const int integerDigits = int(code >> kIntegerShift & 0x7) + 1;
    for (const Rounding rounding : {Rounding::Nearest, Rounding::HundredthsHalfUp}) {
        if (rounding == Rounding::HundredthsHalfUp && decimals != 1)
            continue;
        const quint8 candidate = form(decimals, integerDigits, rounding);
        if (fromForm(candidate, value) == code)
            return candidate;
    }
    return kNoForm;
}

quint32 DisplayText::fromForm(quint8 form, double value)
{
    if (form == kNoForm || !std::isfinite(value) || std::fabs(value) > kMaxFormValue)
        return kUnpacked;
    const int decimals = form & 0x7;
    const int integerDigits = (form >> kFormIntegerShift & 0x7) + 1;
    // Half up from hundredths in integers, as the instrument rounds: (c + 5) / 10.
    const qint64 scaled = form & kFormHalfUp ? (std::llround(value * 100) + 5) / 10
                                             : std::llround(value * double(pow10(decimals)));
    return fromScaled(scaled, decimals, integerDigits);
}
