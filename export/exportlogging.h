#ifndef EXPORTLOGGING_H
#define EXPORTLOGGING_H

#include <QLoggingCategory>

// The export subsystem's diagnostics: why a file could not be written (the
// system's and libxlsxwriter's reasons), pages the printer cannot lay out.
Q_DECLARE_LOGGING_CATEGORY(lcExport)

#endif // EXPORTLOGGING_H
