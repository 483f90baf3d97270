#include "settings/PasswordChange.h"

#include "common/Prompter.h"

namespace qv {

bool changePackagePassword(QString &password, Prompter &prompter)
{
    if (!password.isEmpty()) {
        const std::optional<QString> old = prompter.password(QStringLiteral("Enter the old password"));
        if (!old)
            return false;
        if (*old != password) {
            // Ending silently would let the user believe the password had changed.
            prompter.message(QStringLiteral("The old password is not correct."), Prompter::Icon::Warning, Prompter::Button::Ok);
            return false;
        }
    }
    const std::optional<QString> first = prompter.password(QStringLiteral("Enter Password for addressbook "));
    if (!first)
        return false;
    const std::optional<QString> second = prompter.password(QStringLiteral("Re-enter password"));
    if (!second)
        return false;
    if (*first != *second) {
        prompter.message(QStringLiteral("Confirmation of the new password is invalid."), Prompter::Icon::Plain,
                         Prompter::Button::Ok);
        return false;
    }
    password = *first;
    return true;
}

} // namespace qv
