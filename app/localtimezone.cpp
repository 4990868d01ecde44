#include "localtimezone.h"

#include <QByteArray>

void LocalTimeZone::keepSystemZone()
{
    // A leading colon names a zone file; a missing one gives UTC, as an unset TZ does.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
}
