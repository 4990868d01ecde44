#ifndef MEMBERSIGNATURE_H
#define MEMBERSIGNATURE_H

#include <QString>

// The member named in an automation call, split into its name and, when the
// caller wrote a parameter list ("SaveAs(const QString &,int)", "Quit(void)"),
// the number of parameters it declares.
class MemberSignature
{
public:
    static constexpr int kUndeclared = -1;

    explicit MemberSignature(const QString &member);

    bool isValid() const;
    QString name() const;
    // kUndeclared when the member came without parentheses.
    int declaredParameters() const;
    // Whether the caller's arguments fit the declared parameter list.
    bool accepts(int argumentCount) const;

private:
    QString memberName;
    int parameters = kUndeclared;
    bool valid = false;
};

#endif // MEMBERSIGNATURE_H
