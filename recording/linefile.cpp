#include "linefile.h"

#include "systemerror.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcRecording)

bool LineFile::open(const QString &path, QIODevice::OpenMode mode)
{
    file.setFileName(path);
    pending.clear();
    error.clear();
    if (!file.open(mode | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    written = file.size();
    return true;
}

void LineFile::append(const QByteArray &lines)
{
    pending += lines;
}

bool LineFile::flush()
{
    if (!file.isOpen() || pending.isEmpty())
        return true;
    const qint64 result = file.write(pending);
    if (result == pending.size()) {
        written += result;
        pending.clear();
        return true;
    }
    error = SystemError::lastText();
    // The disk took part of the lines, maybe ending inside one: the file is
    // cut back to the last whole line it holds, which shrinking can do even
    // on a full disk.
    const int lastLineEnd = result > 0 ? pending.lastIndexOf('\n', int(result) - 1) : -1;
    written += lastLineEnd + 1;
    if (!file.resize(written))
        qCWarning(lcRecording) << "cannot cut" << file.fileName() << "back to a whole line:" << file.errorString();
    pending.clear();
    file.close();
    return false;
}

void LineFile::close()
{
    flush();
    file.close();
    pending.clear();
}
