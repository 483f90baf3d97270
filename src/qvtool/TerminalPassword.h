#pragma once

#include <QString>

#include <optional>

namespace qv::tool {

// The password in $QV_PASSWORD, if set. Passwords never come from the command
// line, where other users of the machine could read them.
std::optional<QString> environmentPassword();

// Asks on the controlling terminal without echo; nothing when there is no
// terminal or the user ends the input.
std::optional<QString> askPassword(const QString &prompt);

} // namespace qv::tool
