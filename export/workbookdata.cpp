#include "workbookdata.h"

#include "sheetdata.h"

namespace {
constexpr int kMaxSheetNameLength = 31;
const QString kForbiddenSheetNameChars = QStringLiteral("[]:*?/\\");
const QString kNewSheetPattern = QStringLiteral("Sheet%1");
} // namespace

WorkbookData::WorkbookData()
{
    sheetList.append(std::make_shared<SheetData>(kNewSheetPattern.arg(1)));
}

int WorkbookData::sheetCount() const
{
    return sheetList.size();
}

std::shared_ptr<SheetData> WorkbookData::sheet(int index) const
{
    if (index < 0 || index >= sheetList.size())
        return nullptr;
    return sheetList.at(index);
}

QList<std::shared_ptr<SheetData>> WorkbookData::sheets() const
{
    return sheetList;
}

bool WorkbookData::holds(const SheetData *sheet) const
{
    for (const auto &held : sheetList) {
        if (held.get() == sheet)
            return true;
    }
    return false;
}

std::shared_ptr<SheetData> WorkbookData::addSheet()
{
    auto added = std::make_shared<SheetData>(unusedSheetName());
    sheetList.prepend(added);
    return added;
}

bool WorkbookData::renameSheet(SheetData *sheet, const QString &name)
{
    if (!holds(sheet) || !isValidSheetName(name) || nameInUse(name, sheet))
        return false;
    sheet->setName(name);
    return true;
}

bool WorkbookData::isValidSheetName(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxSheetNameLength)
        return false;
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return false;
    for (const QChar c : name) {
        if (kForbiddenSheetNameChars.contains(c))
            return false;
    }
    return true;
}

bool WorkbookData::isOpen() const
{
    return open;
}

void WorkbookData::close()
{
    open = false;
}

QString WorkbookData::unusedSheetName() const
{
    int number = 1;
    while (nameInUse(kNewSheetPattern.arg(number), nullptr))
        ++number;
    return kNewSheetPattern.arg(number);
}

bool WorkbookData::nameInUse(const QString &name, const SheetData *except) const
{
    for (const auto &held : sheetList) {
        if (held.get() != except && held->name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
