#pragma once

#include <QString>

namespace qv {

// The name of the address book's owner, shown in the window title and in
// the title and footer of printed reports: the user's login name.
QString ownerName();

} // namespace qv
