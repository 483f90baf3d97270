#pragma once

#include "tools/FieldPiece.h"

#include <optional>

class QWidget;

namespace qv {

// The text, caret and selection of the widget when it is a text field
// (single- or multi-line); nothing for any other widget or none.
std::optional<TextFieldState> textFieldState(const QWidget *widget);

// Selects the piece in the text field, so the user sees which value a command took.
void selectPiece(QWidget *field, const FieldPiece &piece);

} // namespace qv
