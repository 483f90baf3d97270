#pragma once

#include <QString>

namespace qv {

class Prompter;

// "Set Password": asks for the old password when there is one, then for the
// new one twice. The password changes only when the old one was typed right
// and both new ones agree; an empty new one removes the password. Returns
// whether it changed.
bool changePackagePassword(QString &password, Prompter &prompter);

} // namespace qv
