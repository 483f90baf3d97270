#include "data/filter/FilterPredicate.h"

#include "common/CaseFolding.h"
#include "data/RecordTable.h"
#include "data/filter/UnitSearch.h"

#include <algorithm>
#include <string>
#include <thread>

namespace qv::filter {

namespace {

// Rows worth a thread of their own, and the most threads a filter takes.
const int kRowsPerPart = 16384;
const int kMaxParts = 4;

using Predicates = std::vector<std::unique_ptr<FilterPredicate>>;

class AnyOf : public FilterPredicate {
public:
    explicit AnyOf(Predicates terms) : m_terms(std::move(terms)) {}
    bool test(int row) const override
    {
        return std::any_of(m_terms.begin(), m_terms.end(), [row](const auto &p) { return p->test(row); });
    }

private:
    Predicates m_terms;
};

class AllOf : public FilterPredicate {
public:
    explicit AllOf(Predicates terms) : m_terms(std::move(terms)) {}
    bool test(int row) const override
    {
        return std::all_of(m_terms.begin(), m_terms.end(), [row](const auto &p) { return p->test(row); });
    }

private:
    Predicates m_terms;
};

class NoneOf : public FilterPredicate {
public:
    explicit NoneOf(std::unique_ptr<FilterPredicate> term) : m_term(std::move(term)) {}
    bool test(int row) const override { return !m_term->test(row); }

private:
    std::unique_ptr<FilterPredicate> m_term;
};

template <typename T>
bool compare(const T &a, const T &b, CompareOp op)
{
    switch (op) {
    case CompareOp::Equal: return a == b;
    case CompareOp::NotEqual: return a != b;
    case CompareOp::Less: return a < b;
    case CompareOp::LessEqual: return a <= b;
    case CompareOp::Greater: return a > b;
    case CompareOp::GreaterEqual: return a >= b;
    }
    return false;
}

bool holds(int order, CompareOp op)
{
    return compare(order, 0, op);
}

// Integer, Boolean and date fields against a number.
class NumberTerm : public FilterPredicate {
public:
    NumberTerm(const Column &column, CompareOp op, qint64 value) : m_column(column), m_op(op), m_value(value) {}
    bool test(int row) const override
    {
        const qint64 v = m_column.numbers[size_t(row)];
        return v != Column::kNullNumber && compare(v, m_value, m_op);
    }

private:
    const Column &m_column;
    CompareOp m_op;
    qint64 m_value;
};

// F=A OR F=B OR ...: one look-up instead of a chain.
class NumberInSet : public FilterPredicate {
public:
    NumberInSet(const Column &column, std::vector<qint64> values) : m_column(column), m_values(std::move(values))
    {
        std::sort(m_values.begin(), m_values.end());
    }
    bool test(int row) const override
    {
        const qint64 v = m_column.numbers[size_t(row)];
        return v != Column::kNullNumber && std::binary_search(m_values.begin(), m_values.end(), v);
    }

private:
    const Column &m_column;
    std::vector<qint64> m_values;
};

class DateUnitTerm : public FilterPredicate {
public:
    DateUnitTerm(const Column &column, FieldFunction unit, CompareOp op, qint64 value)
        : m_column(column), m_unit(unit), m_op(op), m_value(value)
    {
    }
    bool test(int row) const override
    {
        const qint64 v = m_column.numbers[size_t(row)];
        if (v == Column::kNullNumber)
            return false;
        const QDate d = QDate::fromJulianDay(v);
        return compare<qint64>(m_unit == FieldFunction::Month ? d.month() : d.day(), m_value, m_op);
    }

private:
    const Column &m_column;
    FieldFunction m_unit;
    CompareOp m_op;
    qint64 m_value;
};

// F<'T', F>='T' and the like on text fields.
class TextTerm : public FilterPredicate {
public:
    TextTerm(const Column &column, CompareOp op, QString value, Qt::CaseSensitivity cs)
        : m_column(column), m_op(op), m_value(std::move(value)), m_cs(cs)
    {
    }
    bool test(int row) const override
    {
        const QStringView v = m_column.texts.view(size_t(row));
        return !v.isEmpty() && holds(v.compare(m_value, m_cs), m_op);
    }

private:
    const Column &m_column;
    CompareOp m_op;
    QString m_value;
    Qt::CaseSensitivity m_cs;
};

std::u16string unitsOf(QStringView text)
{
    return std::u16string(text.utf16(), size_t(text.size()));
}

std::u16string foldedUnits(QStringView text)
{
    std::u16string buffer;
    return unitsOf(foldCase(text, buffer));
}

// The column the term reads: ignoring case, its case-folded copy, against
// which a folded constant is compared unit by unit.
const TextColumn &textsToCompare(const Column &column, Qt::CaseSensitivity cs)
{
    return cs == Qt::CaseInsensitive ? column.texts.caseFolded() : column.texts;
}

std::u16string constantToCompare(QStringView constant, Qt::CaseSensitivity cs)
{
    return cs == Qt::CaseInsensitive ? foldedUnits(constant) : unitsOf(constant);
}

// Whether the text begins with the units; a plain loop, as they are few.
bool beginsWith(QStringView text, const std::u16string &units)
{
    if (size_t(text.size()) < units.size())
        return false;
    const char16_t *t = text.utf16();
    for (size_t k = 0; k < units.size(); ++k) {
        if (t[k] != units[k])
            return false;
    }
    return true;
}

// F='T' (F<>'T' negated).
class TextEquals : public FilterPredicate {
public:
    TextEquals(const Column &column, CompareOp op, QStringView value, Qt::CaseSensitivity cs)
        : m_texts(textsToCompare(column, cs)), m_negated(op == CompareOp::NotEqual), m_value(constantToCompare(value, cs))
    {
    }
    bool test(int row) const override
    {
        const QStringView v = m_texts.view(size_t(row));
        if (v.isEmpty())
            return false;
        return (size_t(v.size()) == m_value.size() && beginsWith(v, m_value)) != m_negated;
    }

private:
    const TextColumn &m_texts;
    bool m_negated;
    std::u16string m_value;
};

// F='T*': the field begins with T (F<>'T*' negated).
class TextPrefix : public FilterPredicate {
public:
    TextPrefix(const Column &column, CompareOp op, QStringView prefix, Qt::CaseSensitivity cs)
        : m_texts(textsToCompare(column, cs)), m_negated(op == CompareOp::NotEqual), m_prefix(constantToCompare(prefix, cs))
    {
    }
    bool test(int row) const override
    {
        const QStringView v = m_texts.view(size_t(row));
        if (v.isEmpty())
            return false;
        return beginsWith(v, m_prefix) != m_negated;
    }

private:
    const TextColumn &m_texts;
    bool m_negated;
    std::u16string m_prefix;
};

// F LIKE '%T%'.
class TextContains : public FilterPredicate {
public:
    TextContains(const Column &column, QStringView needle, Qt::CaseSensitivity cs)
        : m_texts(textsToCompare(column, cs)), m_needle(constantToCompare(needle, cs))
    {
    }
    bool test(int row) const override
    {
        const QStringView v = m_texts.view(size_t(row));
        return !v.isEmpty() && containsUnits(std::u16string_view(v.utf16(), size_t(v.size())), m_needle);
    }

private:
    const TextColumn &m_texts;
    std::u16string m_needle;
};

// LIKE of any shape, and LIKE on fields that are not text, through the
// value as the record store renders it.
class LikeTerm : public FilterPredicate {
public:
    LikeTerm(const RecordTable &table, int field, QString pattern, Qt::CaseSensitivity cs)
        : m_table(table), m_field(field), m_pattern(std::move(pattern)), m_cs(cs)
    {
    }
    bool test(int row) const override
    {
        const Column &c = m_table.column(m_field);
        if (c.isNull(row))
            return false;
        if (c.isText())
            return likeMatch(c.texts.view(size_t(row)), m_pattern, m_cs);
        return likeMatch(valueText(m_table.value(row, m_field)), m_pattern, m_cs);
    }

private:
    const RecordTable &m_table;
    int m_field;
    QString m_pattern;
    Qt::CaseSensitivity m_cs;
};

class Compiler {
public:
    Compiler(const RecordTable &table, bool caseInsensitive)
        : m_table(table), m_cs(caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive)
    {
    }

    std::unique_ptr<FilterPredicate> compile(const Node &node)
    {
        switch (node.kind) {
        case Node::Kind::Or:
            if (auto set = numberSet(node))
                return set;
            return std::make_unique<AnyOf>(compileAll(node));
        case Node::Kind::And:
            return std::make_unique<AllOf>(compileAll(node));
        case Node::Kind::Not:
            return std::make_unique<NoneOf>(compile(*node.children.first()));
        case Node::Kind::Compare:
            return comparison(node.comparison);
        case Node::Kind::Like:
            return like(node.like);
        }
        return nullptr;
    }

private:
    Predicates compileAll(const Node &node)
    {
        Predicates terms;
        for (const auto &child : node.children)
            terms.push_back(compile(*child));
        return terms;
    }

    int field(const QString &name, int position) const
    {
        const int f = m_table.fieldIndex(name);
        if (f < 0)
            throw FilterError(QStringLiteral("field '%1' not found").arg(name), position);
        return f;
    }

    // The F=N OR F=M ... shape, all on one number field.
    std::unique_ptr<FilterPredicate> numberSet(const Node &node)
    {
        std::vector<qint64> values;
        int shared = -1;
        for (const auto &child : node.children) {
            const Comparison &c = child->comparison;
            if (child->kind != Node::Kind::Compare || c.op != CompareOp::Equal || c.function != FieldFunction::None
                || !std::holds_alternative<qint64>(c.constant))
                return nullptr;
            const int f = field(c.field, c.position);
            if ((shared >= 0 && f != shared) || m_table.column(f).def.type != FieldType::Integer)
                return nullptr;
            shared = f;
            values.push_back(std::get<qint64>(c.constant));
        }
        return std::make_unique<NumberInSet>(m_table.column(shared), std::move(values));
    }

    [[noreturn]] void unsuitable(const Comparison &c) const
    {
        throw FilterError(QStringLiteral("the constant does not suit field '%1'").arg(c.field), c.position);
    }

    std::unique_ptr<FilterPredicate> comparison(const Comparison &c)
    {
        const int f = field(c.field, c.position);
        const Column &column = m_table.column(f);
        if (c.function != FieldFunction::None) {
            if (column.def.type != FieldType::Date)
                throw FilterError(QStringLiteral("field '%1' is not a date").arg(c.field), c.position);
            if (!std::holds_alternative<qint64>(c.constant))
                unsuitable(c);
            return std::make_unique<DateUnitTerm>(column, c.function, c.op, std::get<qint64>(c.constant));
        }
        switch (column.def.type) {
        case FieldType::Text:
        case FieldType::Memo: {
            QString text = std::holds_alternative<QString>(c.constant) ? std::get<QString>(c.constant)
                : std::holds_alternative<qint64>(c.constant)             ? QString::number(std::get<qint64>(c.constant))
                                                                         : valueText(std::get<bool>(c.constant));
            const bool prefix = text.endsWith(QLatin1Char('*'));
            if (prefix)
                text.chop(1);
            if (prefix)
                return std::make_unique<TextPrefix>(column, c.op, text, m_cs);
            if (c.op == CompareOp::Equal || c.op == CompareOp::NotEqual)
                return std::make_unique<TextEquals>(column, c.op, text, m_cs);
            return std::make_unique<TextTerm>(column, c.op, text, m_cs);
        }
        case FieldType::Integer:
        case FieldType::Boolean:
            return std::make_unique<NumberTerm>(column, c.op, number(c, column.def.type));
        case FieldType::Date: {
            const QDate d = std::holds_alternative<QString>(c.constant)
                ? QDate::fromString(std::get<QString>(c.constant), Qt::ISODate)
                : QDate();
            if (!d.isValid())
                unsuitable(c);
            return std::make_unique<NumberTerm>(column, c.op, d.toJulianDay());
        }
        }
        return nullptr;
    }

    qint64 number(const Comparison &c, FieldType type) const
    {
        if (const auto *n = std::get_if<qint64>(&c.constant))
            return type == FieldType::Boolean ? (*n != 0) : *n;
        if (const auto *b = std::get_if<bool>(&c.constant))
            return *b ? 1 : 0;
        const QString text = std::get<QString>(c.constant).trimmed();
        if (type == FieldType::Boolean) {
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return 1;
            if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return 0;
        }
        bool ok = false;
        const qint64 n = text.toInt(&ok);
        if (!ok)
            unsuitable(c);
        return n;
    }

    std::unique_ptr<FilterPredicate> like(const Like &l)
    {
        const int f = field(l.field, l.position);
        const QString &p = l.pattern;
        const bool containsShape = p.size() >= 2 && p.startsWith(QLatin1Char('%')) && p.endsWith(QLatin1Char('%'))
            && !p.mid(1, p.size() - 2).contains(QLatin1Char('%'));
        if (containsShape && m_table.column(f).isText())
            return std::make_unique<TextContains>(m_table.column(f), QStringView(p).sliced(1, p.size() - 2), m_cs);
        return std::make_unique<LikeTerm>(m_table, f, p, m_cs);
    }

    const RecordTable &m_table;
    Qt::CaseSensitivity m_cs;
};

} // namespace

std::unique_ptr<FilterPredicate> compileFilter(const Node &node, const RecordTable &table, bool caseInsensitive)
{
    return Compiler(table, caseInsensitive).compile(node);
}

std::vector<int> passingRows(const FilterPredicate &predicate, const RecordTable &table, const std::vector<int> &ordered)
{
    // Testing in row id order reads each column front to back; testing in
    // the list's order would jump across the columns at every row. A large
    // table is tested in parts side by side, one per core.
    const int rowSlots = table.rowSlots();
    std::vector<char> passes(static_cast<size_t>(rowSlots));
    auto testRange = [&](int from, int to) {
        for (int row = from; row < to; ++row)
            passes[size_t(row)] = predicate.test(row);
    };
    const int parts = std::clamp(std::min(int(std::thread::hardware_concurrency()), rowSlots / kRowsPerPart), 1, kMaxParts);
    std::vector<std::thread> helpers;
    for (int part = 1; part < parts; ++part)
        helpers.emplace_back(testRange, int(qint64(rowSlots) * part / parts), int(qint64(rowSlots) * (part + 1) / parts));
    testRange(0, rowSlots / parts);
    for (std::thread &helper : helpers)
        helper.join();
    std::vector<int> rows;
    for (int row : ordered) {
        if (passes[size_t(row)])
            rows.push_back(row);
    }
    return rows;
}

bool likeMatch(QStringView text, QStringView pattern, Qt::CaseSensitivity cs)
{
    // Glob matching with backtracking to the last "%": linear for the
    // patterns the program composes, never exponential.
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    auto same = [cs](QChar a, QChar b) {
        return cs == Qt::CaseSensitive ? a == b : QStringView(&a, 1).compare(QStringView(&b, 1), cs) == 0;
    };
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('%')) {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && same(text[t], pattern[p])) {
            ++t;
            ++p;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

} // namespace qv::filter
