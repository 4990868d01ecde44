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
};

#endif // DISPLAYTEXT_H
