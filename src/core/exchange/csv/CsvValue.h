#pragma once

#include <QString>
#include <QStringView>

namespace qv {

// Appends one value of a CSV row line and the comma that follows every
// value. The value is enclosed in double quotes, its own double quotes
// doubled, when asked or when it holds a comma, a double quote, a line
// break (bare, a line break would split the record) or a character 26, or
// when it begins with U+FEFF, which would read as a byte-order mark.
void appendCsvValue(QString &line, QStringView value, bool alwaysQuote = false);

} // namespace qv
