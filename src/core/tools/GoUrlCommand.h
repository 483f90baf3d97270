#pragma once

#include "tools/TextFieldState.h"

#include <QUrl>

#include <optional>

namespace qv {

class Prompter;

// Go URL: the web or mail address of the focused field, or nothing after
// "Please specify a valid URL." when there is none the desktop may open.
std::optional<QUrl> urlToOpen(const std::optional<TextFieldState> &focusedField, Prompter &prompter);

} // namespace qv
