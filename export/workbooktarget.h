#ifndef WORKBOOKTARGET_H
#define WORKBOOKTARGET_H

#include "automationtarget.h"

class WorkbookData;

// One open workbook.
class WorkbookTarget : public AutomationTarget
{
public:
    // The file format code of SaveAs that the export asks for. It is the
    // code of the legacy binary format; the file written is always .xlsx.
    static constexpr int kSaveFormatCode = -4143;

    explicit WorkbookTarget(std::shared_ptr<WorkbookData> workbook);

    // "SaveAs": the file name, then optionally the format code
    // kSaveFormatCode, two empty passwords and false for the read-only
    // recommendation and for the backup copy; gives true once the file is
    // complete on disk. "Close" with false: closes without saving.
    QVariant call(const QString &member, const QVariantList &arguments) override;
    // "Sheets".
    std::shared_ptr<AutomationTarget> query(const QString &member,
                                            const QVariantList &arguments) override;

private:
    QVariant saveAs(const QVariantList &arguments);
    // Passwords, a read-only recommendation or a backup copy cannot be
    // written; only the arguments that ask for none of them are accepted.
    static bool isPlainSaveArgument(int position, const QVariant &argument);

    std::shared_ptr<WorkbookData> workbook;
};

#endif // WORKBOOKTARGET_H
