#include "tools/FieldPiece.h"

namespace qv {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char(';');
}

} // namespace

FieldPiece pieceAroundCaret(const TextFieldState &field)
{
    FieldPiece piece;
    if (field.hasSelection()) {
        piece.start = field.selectionStart;
        piece.length = field.selectionLength;
        piece.text = field.selectedText();
        return piece;
    }
    const QString &text = field.text;
    const int caret = std::clamp(field.caret, 0, int(text.size()));
    for (int i = caret - 1; i >= 0; --i) {
        if (isSeparator(text[i])) {
            piece.separatorBefore = i;
            break;
        }
    }
    int end = caret;
    while (end < text.size() && !isSeparator(text[end]))
        ++end;
    piece.start = piece.separatorBefore + 1;
    piece.length = end - piece.start;
    piece.text = text.mid(piece.start, piece.length);
    return piece;
}

QString areaCodePrefix(const QString &fieldText)
{
    const QString text = fieldText.trimmed();
    int from = 0;
    while (from < text.size() && text[from] == QLatin1Char(')'))
        ++from;
    const int close = text.indexOf(QLatin1Char(')'), from);
    if (close < 0)
        return {};
    return text.mid(from, close - from) + QLatin1Char(')');
}

QString dialNumber(const TextFieldState &field)
{
    if (field.hasSelection())
        return field.selectedText().trimmed();
    const FieldPiece piece = pieceAroundCaret(field);
    if (piece.separatorBefore > 0)
        return areaCodePrefix(field.text) + piece.trimmed();
    return piece.text;
}

QString addressInField(const TextFieldState &field)
{
    if (field.hasSelection())
        return field.selectedText().trimmed();
    if (!field.multiLine)
        return field.text.trimmed();
    const int caret = std::clamp(field.caret, 0, int(field.text.size()));
    const int start = caret == 0 ? 0 : field.text.lastIndexOf(QLatin1Char('\n'), caret - 1) + 1;
    int end = field.text.indexOf(QLatin1Char('\n'), caret);
    if (end < 0)
        end = field.text.size();
    return field.text.mid(start, end - start).trimmed();
}

} // namespace qv
