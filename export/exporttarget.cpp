#include "exporttarget.h"

#include "exportlogging.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// A new file is readable by everyone, like any document; a replaced one
// keeps its permissions.
constexpr QFileDevice::Permissions kNewFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
} // namespace

ExportTarget::ExportTarget(const QString &fileName)
    : target(fileName),
      temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"))
{
}

ExportTarget::~ExportTarget() = default;

bool ExportTarget::open()
{
    if (!isReplaceable())
        return false;
    if (!temporary.open()) {
        qCWarning(lcExport) << "cannot create a file in" << target.absolutePath() << ":" << temporary.errorString();
        return false;
    }
    temporary.close();
    return true;
}

QString ExportTarget::temporaryPath() const
{
    return temporary.fileName();
}

bool ExportTarget::commit()
{
    temporary.setPermissions(target.exists() ? target.permissions() : kNewFilePermissions);
    // rename(2) replaces an existing target in one step; QFile::rename would refuse to.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0) {
        qCWarning(lcExport) << "cannot replace" << target.absoluteFilePath() << ":" << std::strerror(errno);
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

bool ExportTarget::isReplaceable() const
{
    if (!target.exists())
        return true;
    if (!target.isFile() || !target.isWritable() || !(target.permissions() & kAnyWrite)) {
        qCWarning(lcExport) << target.absoluteFilePath() << "is not a file the user may write";
        return false;
    }
    return true;
}
