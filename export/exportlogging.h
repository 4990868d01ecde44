#ifndef EXPORTLOGGING_H
#define EXPORTLOGGING_H

#include <QLoggingCategory>

// The export subsystem's diagnostics: automation calls the spreadsheet layer
// refuses, file writes that fail, pages the printer cannot lay out.
// Turn on with QT_LOGGING_RULES="luma.export.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcExport)

#endif // EXPORTLOGGING_H
