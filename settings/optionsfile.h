#ifndef OPTIONSFILE_H
#define OPTIONSFILE_H

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QByteArray;
class QFileInfo;
QT_END_NAMESPACE

// Reads and writes the settings file: an XML document whose root `options`
// holds one element per setting with the value as its text. The class knows
// only the layout of the file; which keys exist and what they mean is the
// caller's business, so reading hands every key and text to the caller.
class OptionsFile
{
public:
    using Entry = QPair<QString, QString>;
    using Apply = std::function<void(const QString &key, const QString &text)>;

    explicit OptionsFile(const QString &path);

    // The settings file of this program: pathForProgramIn() of the directory
    // of the executable.
    static QString defaultPath();
    // "options.xml" beside a program in programDir when the user may write
    // there, as in a copied or unpacked program folder; otherwise, as for an
    // installed program, "options.xml" in the user's configuration folder
    // (QStandardPaths::AppConfigLocation). A folder without any write
    // permission bit counts as read-only even for a user whose rights would
    // allow writing, the superuser included.
    static QString pathForProgramIn(const QString &programDir);

    const QString &path() const;

    // Streams the file and calls apply(key, text) in file order for the first
    // run of non-blank text inside each element other than the root, whatever
    // its depth. A key may come more than once; each occurrence is reported.
    // A malformed file stops at its first error; what was reported before it
    // stays reported, a text cut off by the error is not reported.
    // Returns false, without calling apply, when the file cannot be opened.
    bool read(const Apply &apply) const;

    // Replaces the file with a document holding one element per entry, in
    // order. The keys must be XML names. Characters that XML cannot carry are
    // left out of the texts. Either the whole new file or the untouched old
    // one is on disk afterwards; false means the old one, which happens when
    // the file or its directory cannot be written or the write does not
    // complete (a full disk, for one). A file marked read-only is never
    // replaced, even for a user whose rights would allow it. The file's
    // folder is created when it is missing.
    bool write(const QList<Entry> &entries) const;

    // Value texts as the file holds them.
    static QString fromInt(int value);
    static QString fromBool(bool value);
    // Lower-case hexadecimal, two digits per byte.
    static QString toHex(const QByteArray &bytes);
    // A text that is not a decimal integer counts as 0, and 0 as false.
    static int toInt(const QString &text);
    static bool toBool(const QString &text);
    // Characters other than hexadecimal digits are passed over.
    static QByteArray fromHex(const QString &text);

private:
    static bool grantsWrite(const QFileInfo &target);
    static bool isReplaceable(const QFileInfo &target);

    QString filePath;
};

#endif // OPTIONSFILE_H
