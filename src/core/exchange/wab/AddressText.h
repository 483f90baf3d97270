#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// Lines joined by ","; a line holding a space, comma, double quote or control
// character goes in double quotes with its quotes doubled. A single empty
// line gives "" so that it is not lost.
QString commaText(const QStringList &lines);

// Whether the text holds characters of the East Asian scripts that a
// double-byte system code page writes with a lead byte.
bool holdsWideText(const QString &text);

// Street lines (CR LF or LF separated), city, state and country as one line of
// text. Text with East Asian wide characters is written country first, as
// addresses there are. Empty parts leave no stray commas at either end.
QString addressText(const QString &street, const QString &city, const QString &state, const QString &country);

} // namespace qv
