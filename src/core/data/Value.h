#pragma once

#include <QDate>
#include <QString>

#include <variant>

namespace qv {

// One field value: empty (null), an integer, a text (text and memo fields),
// a date or a Boolean.
using Value = std::variant<std::monostate, qint32, QString, QDate, bool>;

inline bool isNull(const Value &v) { return std::holds_alternative<std::monostate>(v); }

// The value as the record store renders it: integers in decimal, dates as
// yyyy-mm-dd, Booleans as "True" or "False", empty as empty text.
QString valueText(const Value &v);

} // namespace qv
