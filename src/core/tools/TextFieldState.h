#pragma once

#include <QString>

namespace qv {

// What the communication commands need of the text field that has the
// keyboard focus: its text, caret and selection. Positions count characters
// and stand between them: 0 is before the first.
struct TextFieldState {
    QString text;
    int caret = 0;
    int selectionStart = 0;
    int selectionLength = 0; // 0: nothing selected
    bool multiLine = false;

    bool hasSelection() const { return selectionLength > 0; }
    QString selectedText() const { return text.mid(selectionStart, selectionLength); }
};

} // namespace qv
