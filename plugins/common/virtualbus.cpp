#include "virtualbus.h"

#include <QDir>

#include <unistd.h>

namespace {
const char kOverrideVariable[] = "LUMA4200_VIRTUAL_BUS";
const char kSocketName[] = "luma4200-vbus";
} // namespace

QString VirtualBus::socketPath()
{
    const QString overridden = qEnvironmentVariable(kOverrideVariable);
    if (!overridden.isEmpty())
        return overridden;
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QDir(runtimeDir).exists())
        return runtimeDir + QLatin1Char('/') + QLatin1String(kSocketName);
    return QStringLiteral("%1/%2-%3").arg(QDir::tempPath(), QLatin1String(kSocketName)).arg(getuid());
}
