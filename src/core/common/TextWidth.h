#pragma once

#include <QString>

namespace qv {

// Text widths in the units the record store measures field sizes in: a wide
// character (East Asian Width W or F: CJK ideographs, kana, Hangul,
// full-width forms) counts 2, any other character 1.
bool isWide(char32_t c);
int textWidth(const QString &text);
// The longest head of the text whose width is at most maxWidth; a character
// is never split, surrogate pairs included.
QString cutToWidth(const QString &text, int maxWidth);

} // namespace qv
