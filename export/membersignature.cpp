#include "membersignature.h"

#include <QRegularExpression>

MemberSignature::MemberSignature(const QString &member)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*(?:\\(([^()]*)\\))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(member);
    if (!match.hasMatch())
        return;
    valid = true;
    memberName = match.captured(1);
    if (match.capturedStart(2) < 0)
        return;
    const QString list = match.captured(2).trimmed();
    if (list.isEmpty() || list == QLatin1String("void"))
        parameters = 0;
    else
        parameters = list.count(QLatin1Char(',')) + 1;
}

bool MemberSignature::isValid() const
{
    return valid;
}

QString MemberSignature::name() const
{
    return memberName;
}

int MemberSignature::declaredParameters() const
{
    return parameters;
}

bool MemberSignature::accepts(int argumentCount) const
{
    return valid && (parameters == kUndeclared || parameters == argumentCount);
}
