#include "data/filter/FilterSyntax.h"

namespace qv::filter {

FilterError::FilterError(const QString &problem, int position)
    : DatabaseError(QStringLiteral("Invalid filter expression at character %1: %2").arg(position).arg(problem))
    , m_position(position)
{
}

namespace {

struct Token {
    enum class Kind { Word, Integer, Text, LeftParen, RightParen, Operator, End };
    Kind kind = Kind::End;
    QString text;
    qint64 number = 0;
    int position = 0; // from 1
};

class Lexer {
public:
    explicit Lexer(const QString &text) : m_text(text) {}

    QList<Token> tokens()
    {
        QList<Token> result;
        while (true) {
            skipBlanks();
            Token t;
            t.position = int(m_pos) + 1;
            if (m_pos >= m_text.size()) {
                result << t;
                return result;
            }
            const QChar c = m_text[m_pos];
            if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
                t.kind = c == QLatin1Char('(') ? Token::Kind::LeftParen : Token::Kind::RightParen;
                ++m_pos;
            } else if (c == QLatin1Char('\'')) {
                t.kind = Token::Kind::Text;
                t.text = quoted(t.position);
            } else if (c.isDigit() || (c == QLatin1Char('-') && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit())) {
                t.kind = Token::Kind::Integer;
                t.number = integer(t.position);
            } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
                t.kind = Token::Kind::Operator;
                t.text = c;
                ++m_pos;
                if (m_pos < m_text.size() && c != QLatin1Char('=')
                    && (m_text[m_pos] == QLatin1Char('=') || (c == QLatin1Char('<') && m_text[m_pos] == QLatin1Char('>'))))
                    t.text += m_text[m_pos++];
            } else if (c.isLetter() || c == QLatin1Char('_')) {
                t.kind = Token::Kind::Word;
                const qsizetype start = m_pos;
                while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
                    ++m_pos;
                t.text = m_text.mid(start, m_pos - start);
            } else {
                throw FilterError(QStringLiteral("unexpected character '%1'").arg(c), t.position);
            }
            result << t;
        }
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    QString quoted(int position)
    {
        QString value;
        ++m_pos; // opening quote
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c != QLatin1Char('\'')) {
                value += c;
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('\'')) {
                value += c; // a doubled quote stands for one
                ++m_pos;
                continue;
            }
            return value;
        }
        throw FilterError(QStringLiteral("text constant without its closing quote"), position);
    }

    qint64 integer(int position)
    {
        const qsizetype start = m_pos;
        if (m_text[m_pos] == QLatin1Char('-'))
            ++m_pos;
        while (m_pos < m_text.size() && m_text[m_pos].isDigit())
            ++m_pos;
        bool ok = false;
        const qint64 value = m_text.mid(start, m_pos - start).toLongLong(&ok);
        if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
            throw FilterError(QStringLiteral("number out of range"), position);
        return value;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

bool isWord(const Token &t, const char *word)
{
    return t.kind == Token::Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isKeyword(const Token &t)
{
    for (const char *k : {"and", "or", "not", "like", "true", "false"}) {
        if (isWord(t, k))
            return true;
    }
    return false;
}

QString describe(const Token &t)
{
    switch (t.kind) {
    case Token::Kind::End: return QStringLiteral("the end of the text");
    case Token::Kind::Text: return QStringLiteral("'%1'").arg(t.text);
    case Token::Kind::Integer: return QString::number(t.number);
    case Token::Kind::LeftParen: return QStringLiteral("\"(\"");
    case Token::Kind::RightParen: return QStringLiteral("\")\"");
    default: return QStringLiteral("\"%1\"").arg(t.text);
    }
}

// Deeper nesting is refused: every "(" and "not" is a level of recursion
// here, in the compiled predicate and in the tree's destructor, so an
// unlimited depth would let a hostile text overflow the stack.
constexpr int kMaxNesting = 256;

class Parser {
public:
    explicit Parser(QList<Token> tokens) : m_tokens(std::move(tokens)) {}

    std::shared_ptr<Node> parse()
    {
        auto node = orExpression();
        if (peek().kind != Token::Kind::End)
            fail(QStringLiteral("expected AND, OR or the end, found %1").arg(describe(peek())));
        return node;
    }

private:
    const Token &peek() const { return m_tokens[m_pos]; }
    Token take() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }
    [[noreturn]] void fail(const QString &problem) const { throw FilterError(problem, peek().position); }

    // One level of "(" or "not", from the token that opens it until the
    // guard goes out of scope.
    class Nesting {
    public:
        explicit Nesting(Parser &parser) : m_parser(parser)
        {
            if (++m_parser.m_depth > kMaxNesting)
                m_parser.fail(QStringLiteral("nested deeper than %1 levels").arg(kMaxNesting));
        }
        ~Nesting() { --m_parser.m_depth; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;

    private:
        Parser &m_parser;
    };

    std::shared_ptr<Node> joined(Node::Kind kind, const char *word, std::shared_ptr<Node> (Parser::*operand)())
    {
        auto first = (this->*operand)();
        if (!isWord(peek(), word))
            return first;
        auto node = std::make_shared<Node>();
        node->kind = kind;
        node->children << first;
        while (isWord(peek(), word)) {
            take();
            node->children << (this->*operand)();
        }
        return node;
    }

    std::shared_ptr<Node> orExpression() { return joined(Node::Kind::Or, "or", &Parser::andExpression); }
    std::shared_ptr<Node> andExpression() { return joined(Node::Kind::And, "and", &Parser::notExpression); }

    std::shared_ptr<Node> notExpression()
    {
        if (!isWord(peek(), "not"))
            return primary();
        const Nesting level(*this);
        take();
        auto node = std::make_shared<Node>();
        node->kind = Node::Kind::Not;
        node->children << notExpression();
        return node;
    }

    std::shared_ptr<Node> primary()
    {
        if (peek().kind == Token::Kind::LeftParen) {
            const Nesting level(*this);
            const Token open = take();
            auto inner = orExpression();
            if (peek().kind != Token::Kind::RightParen)
                fail(QStringLiteral("expected \")\" to close the \"(\" at character %1, found %2")
                         .arg(open.position)
                         .arg(describe(peek())));
            take();
            return inner;
        }
        return term();
    }

    // field op constant | Month(field) op constant | Day(field) op constant | field LIKE 'pattern'
    std::shared_ptr<Node> term()
    {
        if (peek().kind != Token::Kind::Word || isKeyword(peek()))
            fail(QStringLiteral("expected a field name, found %1").arg(describe(peek())));
        auto node = std::make_shared<Node>();
        Token field = take();
        FieldFunction function = FieldFunction::None;
        if ((isWord(field, "month") || isWord(field, "day")) && peek().kind == Token::Kind::LeftParen) {
            function = isWord(field, "month") ? FieldFunction::Month : FieldFunction::Day;
            take();
            if (peek().kind != Token::Kind::Word || isKeyword(peek()))
                fail(QStringLiteral("expected a field name, found %1").arg(describe(peek())));
            field = take();
            if (peek().kind != Token::Kind::RightParen)
                fail(QStringLiteral("expected \")\", found %1").arg(describe(peek())));
            take();
        }
        if (isWord(peek(), "like") && function == FieldFunction::None) {
            take();
            if (peek().kind != Token::Kind::Text)
                fail(QStringLiteral("expected a quoted pattern after LIKE, found %1").arg(describe(peek())));
            node->kind = Node::Kind::Like;
            node->like = {field.text, take().text, field.position};
            return node;
        }
        if (peek().kind != Token::Kind::Operator)
            fail(QStringLiteral("expected a comparison after %1, found %2").arg(describe(field), describe(peek())));
        const QString op = take().text;
        node->kind = Node::Kind::Compare;
        node->comparison.field = field.text;
        node->comparison.function = function;
        node->comparison.position = field.position;
        node->comparison.op = op == QLatin1String("=")    ? CompareOp::Equal
            : op == QLatin1String("<>")                   ? CompareOp::NotEqual
            : op == QLatin1String("<")                    ? CompareOp::Less
            : op == QLatin1String("<=")                   ? CompareOp::LessEqual
            : op == QLatin1String(">")                    ? CompareOp::Greater
                                                          : CompareOp::GreaterEqual;
        const Token value = peek();
        if (value.kind == Token::Kind::Text)
            node->comparison.constant = value.text;
        else if (value.kind == Token::Kind::Integer)
            node->comparison.constant = value.number;
        else if (isWord(value, "true") || isWord(value, "false"))
            node->comparison.constant = isWord(value, "true");
        else
            fail(QStringLiteral("expected a number, a quoted text or true after \"%1\", found %2").arg(op, describe(value)));
        take();
        return node;
    }

    QList<Token> m_tokens;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

} // namespace

std::shared_ptr<Node> parseFilter(const QString &text)
{
    if (text.trimmed().isEmpty())
        return nullptr;
    return Parser(Lexer(text).tokens()).parse();
}

} // namespace qv::filter
