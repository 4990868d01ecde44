#ifndef SEQUENCECSV_H
#define SEQUENCECSV_H

#include "sequence.h"

#include <QByteArray>
#include <QCoreApplication>

// Steps as a spreadsheet keeps them: a header line "voltage,current,seconds",
// then one step a line, in volts, amperes and seconds. Reading also takes ';'
// as the separator, and then a decimal comma, as spreadsheets in many
// languages write; blank lines are skipped. Limits are not checked here (see
// Sequence::check), so a file with one bad value can still be loaded and mended.
class SequenceCsv
{
    Q_DECLARE_TR_FUNCTIONS(SequenceCsv)

public:
    // False with the line named in error ("Line 4: …") when the text is not a
    // list of steps; steps is then left as it was.
    static bool read(const QByteArray &text, QList<SequenceStep> *steps, QString *error);
    static QByteArray write(const QList<SequenceStep> &steps);
};

#endif // SEQUENCECSV_H
