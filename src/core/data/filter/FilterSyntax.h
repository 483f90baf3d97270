#pragma once

#include "data/DatabaseError.h"

#include <QList>
#include <QString>

#include <memory>
#include <variant>

namespace qv::filter {

// A filter text that does not parse, with the character position (from 1)
// where the problem was found.
class FilterError : public DatabaseError {
public:
    FilterError(const QString &problem, int position);
    int position() const { return m_position; }

private:
    int m_position;
};

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };
enum class FieldFunction { None, Month, Day };

// A constant of the language: a quoted text, an integer or true/false.
using Constant = std::variant<QString, qint64, bool>;

struct Comparison {
    QString field;
    FieldFunction function = FieldFunction::None;
    CompareOp op = CompareOp::Equal;
    Constant constant;
    int position = 0; // of the field name, for messages
};

struct Like {
    QString field;
    QString pattern;
    int position = 0;
};

struct Node {
    enum class Kind { Or, And, Not, Compare, Like };
    Kind kind;
    QList<std::shared_ptr<Node>> children; // Or, And: two or more; Not: one
    Comparison comparison;
    Like like;
};

// Parses a filter text; an empty or blank text gives no tree (every row
// passes). Precedence: not, then and, then or; parentheses group. Keywords
// and field names ignore case. Throws FilterError.
std::shared_ptr<Node> parseFilter(const QString &text);

} // namespace qv::filter
