#include "workbooktarget.h"

#include "sheetstarget.h"
#include "workbookdata.h"
#include "xlsxfilewriter.h"

namespace {
constexpr int kMaxSaveAsArguments = 6;
constexpr int kFormatArgument = 1;
constexpr int kFirstPasswordArgument = 2;
constexpr int kLastPasswordArgument = 3;
} // namespace

WorkbookTarget::WorkbookTarget(std::shared_ptr<WorkbookData> workbook)
    : workbook(std::move(workbook))
{
}

QVariant WorkbookTarget::call(const QString &member, const QVariantList &arguments)
{
    if (!workbook->isOpen())
        return QVariant();
    if (is(member, "SaveAs"))
        return saveAs(arguments);
    bool saveChanges = true;
    if (is(member, "Close") && arguments.size() == 1 && boolArgument(arguments.first(), &saveChanges)
        && !saveChanges) {
        workbook->close();
        return true;
    }
    return QVariant();
}

std::shared_ptr<AutomationTarget> WorkbookTarget::query(const QString &member,
                                                        const QVariantList &arguments)
{
    if (workbook->isOpen() && is(member, "Sheets") && arguments.isEmpty())
        return std::make_shared<SheetsTarget>(workbook);
    return nullptr;
}

QVariant WorkbookTarget::saveAs(const QVariantList &arguments)
{
    QString fileName;
    if (arguments.isEmpty() || arguments.size() > kMaxSaveAsArguments
        || !textArgument(arguments.first(), &fileName) || fileName.isEmpty())
        return QVariant();
    for (int position = 1; position < arguments.size(); ++position) {
        if (!isPlainSaveArgument(position, arguments.at(position)))
            return QVariant();
    }
    if (!XlsxFileWriter::write(*workbook, fileName))
        return QVariant();
    return true;
}

bool WorkbookTarget::isPlainSaveArgument(int position, const QVariant &argument)
{
    if (position == kFormatArgument) {
        int format = 0;
        return intArgument(argument, &format) && format == kSaveFormatCode;
    }
    if (position >= kFirstPasswordArgument && position <= kLastPasswordArgument) {
        QString password;
        return textArgument(argument, &password) && password.isEmpty();
    }
    bool flag = true;
    return boolArgument(argument, &flag) && !flag;
}
