#ifndef MANUALDOCUMENT_H
#define MANUALDOCUMENT_H

#include <QString>

class QDir;

// Renders the user manual's HTML source to a PDF file. The source names its
// pictures relative to its own directory; a figure whose picture is missing
// is left out, so the manual can be built before its screenshots exist.
class ManualDocument
{
public:
    // Removes every <div class="figure"> block and every loose <img> whose
    // picture is not a file under baseDir.
    static QString withoutMissingImages(const QString &html, const QDir &baseDir);
    // Writes pdfFile completely or leaves it as it was; needs a
    // QGuiApplication. On failure *error says why.
    static bool render(const QString &sourceFile, const QString &pdfFile, QString *error);
};

#endif // MANUALDOCUMENT_H
