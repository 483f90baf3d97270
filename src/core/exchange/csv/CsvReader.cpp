#include "exchange/csv/CsvReader.h"

#include "common/Error.h"

#include <QDir>

namespace qv {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kComma = u',';
constexpr QChar kCR = u'\r';
constexpr QChar kLF = u'\n';
constexpr QChar kEndOfFile = QChar(26);

bool isLineEnd(QChar c)
{
    return c == kCR || c == kLF;
}

} // namespace

CsvReader::CsvReader(QIODevice &device, const QString &fileName, const QLocale &locale)
    : m_source(device, fileName, locale)
    , m_fileName(fileName)
{
}

void CsvReader::rewind()
{
    m_source.rewind();
    m_text.clear();
    m_pos = 0;
    m_end = false;
    m_line = 1;
    m_recordLine = 0;
    m_lineLength = 0;
}

bool CsvReader::fill()
{
    if (m_pos < m_text.size())
        return true;
    if (m_end)
        return false;
    m_text = m_source.read();
    m_pos = 0;
    m_end = m_text.isEmpty();
    return !m_end;
}

bool CsvReader::endLine(QChar c)
{
    // CR LF is one line end, also when the two arrive in different pieces.
    const bool pair = c == kCR && fill() && m_text[m_pos] == kLF;
    if (pair)
        ++m_pos;
    ++m_line;
    m_lineLength = 0;
    return pair;
}

bool CsvReader::skipBlankLines()
{
    while (fill()) {
        const QChar c = m_text[m_pos];
        if (!isLineEnd(c))
            return c != kEndOfFile;
        ++m_pos;
        endLine(c);
    }
    return false;
}

bool CsvReader::atEnd()
{
    if (skipBlankLines())
        return false;
    m_end = true;
    m_text.clear();
    m_pos = 0;
    return true;
}

void CsvReader::refuse(const QString &what)
{
    const int line = m_line;
    m_end = true;
    m_text.clear();
    m_pos = 0;
    throw Error(QStringLiteral("Line %1 of %2 %3").arg(line).arg(QDir::toNativeSeparators(m_fileName), what));
}

void CsvReader::countCharacter()
{
    if (++m_lineLength > kMaxLineLength)
        refuse(QStringLiteral("is longer than 1 MB"));
}

QStringList CsvReader::readRecord()
{
    QStringList values;
    if (atEnd())
        return values;
    m_recordLine = m_line;
    enum class State { ValueStart, Plain, Quoted, QuoteInQuoted };
    State state = State::ValueStart;
    QString value;
    auto push = [&] {
        if (values.size() == kMaxValues)
            refuse(QStringLiteral("holds more than 10,000 values"));
        values.append(value);
        value.clear();
    };
    while (fill()) {
        const QChar c = m_text[m_pos++];
        if (isLineEnd(c) && state != State::Quoted) {
            if (state != State::ValueStart)
                push();
            endLine(c);
            return values;
        }
        if (isLineEnd(c)) { // inside a quoted value: kept as the file has it
            value += c;
            if (endLine(c))
                value += kLF;
            continue;
        }
        countCharacter();
        switch (state) {
        case State::ValueStart:
            if (c == kQuote) {
                state = State::Quoted;
            } else if (c == kComma) {
                push();
            } else {
                value += c;
                state = State::Plain;
            }
            break;
        case State::Plain:
            if (c == kComma) {
                push();
                state = State::ValueStart;
            } else {
                value += c;
            }
            break;
        case State::Quoted:
            if (c == kQuote)
                state = State::QuoteInQuoted;
            else
                value += c;
            break;
        case State::QuoteInQuoted:
            if (c == kComma) {
                push();
                state = State::ValueStart;
            } else {
                // "" is one double quote; a lone one not closing the value stays.
                if (c != kQuote)
                    value += kQuote;
                value += c;
                state = State::Quoted;
            }
            break;
        }
    }
    if (state != State::ValueStart)
        push();
    return values;
}

} // namespace qv
