#pragma once

#include "tools/TextFieldState.h"

#include <QUrl>

#include <optional>

namespace qv {

class Prompter;

// Dial, up to the call: offers the number of the focused field in the
// "Dial" box. The number the user confirmed, or nothing when there is no
// field with text or the user cancelled.
std::optional<QString> askNumberToDial(const std::optional<TextFieldState> &focusedField, Prompter &prompter);

// The call for a confirmed number, or nothing after telling the user that
// it is not a phone number. The focus must still be in a text field.
std::optional<QUrl> callUrl(const QString &number, bool focusInTextField, Prompter &prompter);

} // namespace qv
