#ifndef DISPLAYTEXT_H
#define DISPLAYTEXT_H

#include <QString>

// A display text of a reading such as "05.00", "0.500" or "-1.2", packed
// into 32 bits so that millions of recorded readings keep their texts
// exactly as the driver wrote them without a string each: the digits as a
// whole number, and the text's shape (sign, digits before the point, digits
// after it). Texts of another form do not pack; the caller keeps those.
class DisplayText
{
public:
    // The code of a text that does not pack.
    static constexpr quint32 kUnpacked = 0xFFFFFFFFu;

    // kUnpacked unless text is an optional "-", 1 to 8 digits, and optionally
    // a point with 1 to 7 digits, all its digits read as one number staying
    // below 2^24 (16777216).
    static quint32 pack(const QString &text);
    // The text of a code that pack() returned, not kUnpacked.
    static QString unpack(quint32 code);
    // The code of the number scaled / 10^decimals written with at least
    // integerDigits digits before the point, as an instrument's display
    // shows it; kUnpacked when it does not fit.
    static quint32 fromScaled(qint64 scaled, int decimals, int integerDigits);

    // How a value's digits are rounded to its text's decimals: to the
    // nearest, or (one decimal) from the nearest hundredths, half up, as an
    // instrument that measures hundredths shows tenths.
    enum class Rounding { Nearest, HundredthsHalfUp };
    // A text's form in one byte: its decimals, its digits before the point
    // and how its digits follow from the value, so that a recording need
    // not keep the digits at all. kNoForm when the text's digits do not
    // follow from the value by either rounding.
    static constexpr quint8 kNoForm = 0xFF;
    static quint8 form(quint32 code, double value);
    static quint8 form(int decimals, int integerDigits, Rounding rounding);
    // The code of the value's text in the form; kUnpacked when it does not fit.
    static quint32 fromForm(quint8 form, double value);
};

#endif // DISPLAYTEXT_H
