#include "tools/FocusedTextField.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace qv {

namespace {

TextFieldState fromCursor(const QTextCursor &cursor, const QString &text)
{
    TextFieldState state;
    state.text = text;
    state.caret = cursor.position();
    state.selectionStart = cursor.selectionStart();
    state.selectionLength = cursor.selectionEnd() - cursor.selectionStart();
    state.multiLine = true;
    return state;
}

} // namespace

std::optional<TextFieldState> textFieldState(const QWidget *widget)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(widget)) {
        TextFieldState state;
        state.text = line->text();
        state.caret = line->cursorPosition();
        if (line->hasSelectedText()) {
            state.selectionStart = line->selectionStart();
            state.selectionLength = line->selectionLength();
        }
        return state;
    }
    // A multi-line field's line breaks count as one character each, as in the cursor's positions.
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(widget))
        return fromCursor(memo->textCursor(), memo->toPlainText());
    if (const auto *rich = qobject_cast<const QTextEdit *>(widget))
        return fromCursor(rich->textCursor(), rich->toPlainText());
    return std::nullopt;
}

void selectPiece(QWidget *field, const FieldPiece &piece)
{
    if (auto *line = qobject_cast<QLineEdit *>(field)) {
        line->setSelection(piece.start, piece.length);
        return;
    }
    auto select = [&](QTextCursor cursor) {
        cursor.setPosition(piece.start);
        cursor.setPosition(piece.start + piece.length, QTextCursor::KeepAnchor);
        return cursor;
    };
    if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
        memo->setTextCursor(select(memo->textCursor()));
    else if (auto *rich = qobject_cast<QTextEdit *>(field))
        rich->setTextCursor(select(rich->textCursor()));
}

} // namespace qv
