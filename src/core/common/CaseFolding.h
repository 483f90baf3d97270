#pragma once

#include <QStringView>

#include <string>

namespace qv {

// Simple case folding, code point by code point: each code point folds to
// one, so a folded needle is found in a folded text exactly where the
// needle is found in the text ignoring case. The folded text is written to
// the buffer, which grows as needed and can be reused from text to text.
QStringView foldCase(QStringView text, std::u16string &buffer);

} // namespace qv
