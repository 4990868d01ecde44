#include "exportlogging.h"

Q_LOGGING_CATEGORY(lcExport, "luma.export", QtInfoMsg)
