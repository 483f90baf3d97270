#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv {

// The lines of a small member file (tree, numbers, compound surnames): cut
// at CR LF, a lone CR or a lone LF; a NUL character ends the text; a last
// line without a line end still counts. The bytes are decoded first: a
// byte-order mark decides, else valid UTF-8, else the legacy code page.
QStringList memberLines(const QByteArray &bytes);
// The lines in UTF-8, each followed by CR LF.
QByteArray memberText(const QStringList &lines);

} // namespace qv
