#include "optionsfile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

Q_LOGGING_CATEGORY(lcSettings, "luma.settings", QtInfoMsg)

const QString kRootElement = QStringLiteral("options");
const QString kFileName = QStringLiteral("options.xml");
constexpr int kDecimalBase = 10;

// XML's own whitespace; text made only of it is layout, not a value.
bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')
            && c != QLatin1Char('\r'))
            return false;
    }
    return true;
}

bool isXmlChar(uint code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The stream writer stops producing a well-formed document at the first
// character XML cannot carry (control characters, lone surrogates), so such
// characters are dropped rather than losing the rest of the file.
QString xmlText(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            clean += c;
            clean += text.at(++i);
        } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
            clean += c;
        }
    }
    if (clean.size() != text.size())
        qCWarning(lcSettings) << "dropped characters that XML cannot hold from" << text;
    return clean;
}

} // namespace

OptionsFile::OptionsFile(const QString &path)
    : filePath(path)
{
}

QString OptionsFile::defaultPath()
{
    return pathForProgramIn(QCoreApplication::applicationDirPath());
}

QString OptionsFile::pathForProgramIn(const QString &programDir)
{
    const QFileInfo program(programDir);
    if (program.isDir() && grantsWrite(program))
        return programDir + QLatin1Char('/') + kFileName;
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // Without a home there is no configuration folder; the program's own
    // folder then stands, and writing to it fails as it would anyway.
    if (configDir.isEmpty())
        return programDir + QLatin1Char('/') + kFileName;
    return configDir + QLatin1Char('/') + kFileName;
}

const QString &OptionsFile::path() const
{
    return filePath;
}

bool OptionsFile::read(const Apply &apply) const
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        // No file is the usual first start, nothing to mention.
        if (file.exists())
            qCDebug(lcSettings) << "cannot read" << filePath << file.errorString();
        return false;
    }

    QXmlStreamReader xml(&file);
    QString key;
    // A CDATA section splits an element's text into several tokens; the value
    // is the whole run between two markup tokens.
    QString run;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters()) {
            run += xml.text();
            continue;
        }
        if (xml.hasError())
            break;
        if (!key.isEmpty() && !isBlank(run)) {
            apply(key, run);
            key.clear();
        }
        run.clear();
        if (xml.isStartElement() && xml.name() != kRootElement)
            key = xml.name().toString();
        else if (xml.isEndElement())
            key.clear(); // text after an element's end tag is not that element's value
    }
    if (xml.hasError())
        qCDebug(lcSettings) << filePath << "line" << xml.lineNumber() << xml.errorString();
    return true;
}

bool OptionsFile::write(const QList<Entry> &entries) const
{
    const QFileInfo target(filePath);
    if (!isReplaceable(target))
        return false;
    if (!QDir().mkpath(target.absolutePath())) {
        qCDebug(lcSettings) << "cannot create the folder of" << filePath;
        return false;
    }

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        qCDebug(lcSettings) << "cannot write" << filePath << file.errorString();
        return false;
    }

    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeStartElement(kRootElement);
    for (const Entry &entry : entries)
        xml.writeTextElement(entry.first, xmlText(entry.second));
    xml.writeEndElement();
    xml.writeEndDocument();

    // Until flushed, the text sits in the file's buffer, and commit() would put
    // the file in place even when writing it out fails on a full disk.
    if (xml.hasError() || !file.flush()) {
        qCDebug(lcSettings) << "cannot write" << filePath << file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        qCDebug(lcSettings) << "cannot write" << filePath << file.errorString();
        return false;
    }
    return true;
}

// The application may run with administrator rights, which pass over access
// checks; a file or folder that grants nobody write access was made read-only
// on purpose and stays as it is.
bool OptionsFile::grantsWrite(const QFileInfo &target)
{
    constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return target.isWritable() && (target.permissions() & kAnyWrite);
}

bool OptionsFile::isReplaceable(const QFileInfo &target)
{
    if (!target.exists())
        return true;
    const bool replaceable = target.isFile() && grantsWrite(target);
    if (!replaceable)
        qCDebug(lcSettings) << target.filePath() << "is not a writable file";
    return replaceable;
}

QString OptionsFile::fromInt(int value)
{
    return QString::number(value, kDecimalBase);
}

QString OptionsFile::fromBool(bool value)
{
    return fromInt(value ? 1 : 0);
}

QString OptionsFile::toHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

int OptionsFile::toInt(const QString &text)
{
    return text.toInt(nullptr, kDecimalBase);
}

bool OptionsFile::toBool(const QString &text)
{
    return toInt(text) != 0;
}

QByteArray OptionsFile::fromHex(const QString &text)
{
    return QByteArray::fromHex(text.toLatin1());
}
