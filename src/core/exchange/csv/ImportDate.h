#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

namespace qv {

// The date an imported text names: tried as yyyy-mm-dd, then in the
// locale's long and then short date format, each first as the format
// spells it and then as three numbers separated by the format's separator
// in the format's order of day, month and year. A null date for an empty
// text and for the zero date, 30 December 1899, which stands for no date;
// nothing when no format reads the text.
std::optional<QDate> parseImportDate(const QString &text, const QLocale &locale = QLocale::system());

} // namespace qv
