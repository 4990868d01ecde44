#include "manualdocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>

namespace {
const QString kTitle = QStringLiteral("LUMA4200 Software User Manual");
const QString kBodyFontFamily = QStringLiteral("DejaVu Sans");
constexpr int kBodyFontPoints = 10;
constexpr double kPageMarginMillimetres = 20.0;

QString removeWhereMissing(const QString &html, const QRegularExpression &pattern,
                           const QDir &baseDir)
{
    QString kept;
    int from = 0;
    QRegularExpressionMatchIterator matches = pattern.globalMatch(html);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        if (QFileInfo(baseDir.filePath(match.captured(QStringLiteral("src")))).isFile())
            continue;
        kept += html.midRef(from, match.capturedStart() - from);
        from = match.capturedEnd();
    }
    return kept + html.midRef(from);
}
} // namespace

QString ManualDocument::withoutMissingImages(const QString &html, const QDir &baseDir)
{
    static const QRegularExpression figure(
        QStringLiteral("<div\\s+class=\"figure\"\\s*>(?:(?!</div>).)*?"
                       "<img\\s[^>]*src=\"(?<src>[^\"]+)\"(?:(?!</div>).)*</div>"),
        QRegularExpression::DotMatchesEverythingOption
            | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression image(QStringLiteral("<img\\s[^>]*src=\"(?<src>[^\"]+)\"[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    return removeWhereMissing(removeWhereMissing(html, figure, baseDir), image, baseDir);
}

bool ManualDocument::render(const QString &sourceFile, const QString &pdfFile, QString *error)
{
    QFile source(sourceFile);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(sourceFile, source.errorString());
        return false;
    }
    const QDir baseDir = QFileInfo(sourceFile).absoluteDir();
    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(baseDir.absolutePath() + QLatin1Char('/')));
    document.setDefaultFont(QFont(kBodyFontFamily, kBodyFontPoints));
    document.setMetaInformation(QTextDocument::DocumentTitle, kTitle);
    // Printing works on a copy of the document that keeps the document URL
    // but not the base URL, so the figures are found through the former.
    document.setMetaInformation(QTextDocument::DocumentUrl,
                                QUrl::fromLocalFile(QFileInfo(sourceFile).absoluteFilePath()).toString());
    document.setHtml(withoutMissingImages(QString::fromUtf8(source.readAll()), baseDir));

    // The PDF is written beside its final name and moved there only when
    // complete, so a failed run never leaves a half manual that looks new.
    const QString partial = pdfFile + QStringLiteral(".part");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial);
    printer.setDocName(kTitle);
    printer.setCreator(kTitle);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kPageMarginMillimetres, kPageMarginMillimetres,
                                                kPageMarginMillimetres, kPageMarginMillimetres),
                                      QPageLayout::Millimeter));
    document.print(&printer);
    if (printer.printerState() == QPrinter::Error || QFileInfo(partial).size() == 0) {
        QFile::remove(partial);
        *error = QStringLiteral("cannot write %1").arg(partial);
        return false;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(pdfFile).constData())
        != 0) {
        QFile::remove(partial);
        *error = QStringLiteral("cannot replace %1").arg(pdfFile);
        return false;
    }
    return true;
}
