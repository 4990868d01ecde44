#ifndef EXPORTTARGET_H
#define EXPORTTARGET_H

#include <QFileInfo>
#include <QTemporaryFile>

// The file an export writes, which appears complete or not at all: the data
// go to a temporary file beside the target, which replaces the target in one
// rename once it is complete. An existing target the user may not write
// (judged by its permission bits, so also when running as root) is never
// replaced. Failures are logged under luma.export with the system's reason.
class ExportTarget
{
public:
    explicit ExportTarget(const QString &fileName);
    // Removes the temporary file unless commit() succeeded.
    ~ExportTarget();

    // Makes the temporary file; false when the target may not be replaced or
    // its folder cannot be written.
    bool open();
    // Where the writer puts the data: an empty file, to be written over.
    QString temporaryPath() const;
    bool commit();

private:
    bool isReplaceable() const;

    QFileInfo target;
    QTemporaryFile temporary;
};

#endif // EXPORTTARGET_H
