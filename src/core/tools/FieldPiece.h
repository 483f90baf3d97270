#pragma once

#include "tools/TextFieldState.h"

namespace qv {

// One value of a field that holds several, separated by "," or ";".
struct FieldPiece {
    int start = 0;
    int length = 0;
    int separatorBefore = -1; // position of the separator in front of the piece; -1 when none
    QString text;             // as it stands in the field, spaces included

    QString trimmed() const { return text.trimmed(); }
};

// The selection when there is one; otherwise the value the caret stands in:
// from just after the nearest separator before the caret to just before the
// nearest one at or after it. A caret right after a separator stands in the
// value that follows it.
FieldPiece pieceAroundCaret(const TextFieldState &field);

// The area code in parentheses a phone field starts with, closing parenthesis
// included: "(010)" for "(010) 1234, 5678"; empty when the field has none.
QString areaCodePrefix(const QString &fieldText);

// The number to offer for dialling: the selection when there is one;
// otherwise the number the caret stands in, where every number after the
// first gets the field's area code in front.
QString dialNumber(const TextFieldState &field);

// The web address a field offers: the selection when there is one, in a
// multi-line field the line the caret stands on, else the whole text.
QString addressInField(const TextFieldState &field);

} // namespace qv
