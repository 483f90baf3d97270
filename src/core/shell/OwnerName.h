#pragma once

#include <QString>

namespace qv {

class Settings;

// The owner an account names: the first comma-separated part of its
// full-name field (the rest holds room and telephone numbers), or its login
// name when that part holds only blanks.
QString accountOwnerName(const QString &fullNameField, const QString &login);
// The owner named by the account running the program.
QString accountOwnerName();

// The name of the address book's owner, shown in the window title and in
// the title and footer of printed reports: the one the user set in the
// options, else the account's.
QString ownerName(const Settings &settings);

} // namespace qv
