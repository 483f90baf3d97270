#include "exchange/vcard/ContentLineReader.h"

#include "exchange/vcard/VCardNames.h"

#include <cstring>

namespace qv::vcard {

namespace {

// How often a folded header is tried again as more of it is unfolded; real
// headers need one or two, and the bound keeps hostile ones linear.
constexpr int MaxHeaderTries = 8;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool startsWithBlank(QByteArrayView text)
{
    return !text.isEmpty() && isBlank(text.front());
}

bool isBlankLine(QByteArrayView text)
{
    for (char c : text) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

// The blanks that end a text, up to a bound that keeps a value joined from
// many blank lines linear to read.
qsizetype blanksAtEnd(QByteArrayView text)
{
    constexpr qsizetype MaxPadding = 64;
    qsizetype count = 0;
    while (count < MaxPadding && count < text.size() && isBlank(text[text.size() - 1 - count]))
        ++count;
    return count;
}

bool isBase64Line(QByteArrayView text)
{
    bool hasData = false;
    for (char c : text) {
        const bool data = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+'
            || c == '/' || c == '=';
        if (!data && !isBlank(c))
            return false;
        hasData = hasData || data;
    }
    return hasData;
}

bool isNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

bool isName(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (!isNameCharacter(c))
            return false;
    }
    return true;
}

bool isGroup(QByteArrayView text)
{
    for (char c : text) {
        if (!isNameCharacter(c) && c != '.')
            return false;
    }
    return true;
}

// The position after the closing quote of a quoted text that starts at pos,
// or the end of the text when the quote is not closed.
qsizetype skipQuoted(QByteArrayView text, qsizetype pos)
{
    const void *close = std::memchr(text.data() + pos + 1, '"', static_cast<size_t>(text.size() - pos - 1));
    return close ? static_cast<const char *>(close) - text.data() + 1 : text.size();
}

// Reads one parameter from pos (just after its ";") up to the next ";" or
// ":" outside quotes. Quotes count only where a value starts: after "=" or
// after the "," between values.
qsizetype readParameter(QByteArrayView text, qsizetype pos, RawParameter &parameter)
{
    const qsizetype start = pos;
    qsizetype equals = -1;
    bool valueStarts = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ';' || c == ':')
            break;
        if (c == '"' && valueStarts) {
            pos = skipQuoted(text, pos);
            continue;
        }
        if (c == '=' && equals < 0) {
            equals = pos;
            valueStarts = true;
        } else if (c == ',' && equals >= 0) {
            valueStarts = true;
        } else if (!isBlank(c)) {
            valueStarts = false;
        }
        ++pos;
    }
    const QByteArrayView token = text.sliced(start, pos - start);
    if (equals < 0) {
        parameter.name = QByteArrayView();
        parameter.value = token.trimmed();
    } else {
        parameter.name = text.sliced(start, equals - start).trimmed();
        parameter.value = text.sliced(equals + 1, pos - equals - 1).trimmed();
    }
    return pos;
}

bool isBase64(QByteArrayView encoding)
{
    return isSameName(encoding, "BASE64") || isSameName(encoding, "B");
}

void noteEncoding(const RawParameter &parameter, ContentLine &line)
{
    const bool bare = parameter.name.isEmpty();
    if (!bare && !isSameName(parameter.name, "ENCODING"))
        return;
    line.quotedPrintable = line.quotedPrintable || isSameName(parameter.value, "QUOTED-PRINTABLE");
    line.base64 = line.base64 || (bare ? isSameName(parameter.value, "BASE64") : isBase64(parameter.value));
}

} // namespace

bool parseContentLine(QByteArrayView text, ContentLine &line)
{
    line.parameters.clear();
    line.quotedPrintable = false;
    line.base64 = false;
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] != ';' && text[pos] != ':')
        ++pos;
    if (pos == text.size())
        return false;
    const QByteArrayView fullName = text.first(pos).trimmed();
    const qsizetype dot = fullName.lastIndexOf('.');
    line.group = dot < 0 ? QByteArrayView() : fullName.first(dot);
    line.name = fullName.sliced(dot + 1);
    if (!isName(line.name) || !isGroup(line.group))
        return false;
    while (pos < text.size() && text[pos] == ';') {
        RawParameter parameter;
        pos = readParameter(text, pos + 1, parameter);
        if (parameter.name.isEmpty() && parameter.value.isEmpty())
            continue;
        noteEncoding(parameter, line);
        line.parameters.push_back(parameter);
    }
    if (pos >= text.size())
        return false;
    line.value = text.sliced(pos + 1);
    return true;
}

void ContentLineReader::append(QByteArrayView &text, QByteArrayView piece)
{
    if (!m_joined) {
        m_buffer.resize(0);
        m_buffer.append(text.data(), text.size());
        m_joined = true;
    }
    m_buffer.append(piece.data(), piece.size());
    text = m_buffer;
}

// Joins the continuation lines a folded header runs over. A header is whole
// once its colon has come; continuation lines after that belong to the value
// and are joined by extendValue, which knows the value's encoding.
QByteArrayView ContentLineReader::unfoldHeader(QByteArrayView text, ContentLine &line, bool &parsed)
{
    parsed = parseContentLine(text, line);
    int tries = 1;
    while (!parsed && tries < MaxHeaderTries && m_index < m_lines.size() && startsWithBlank(m_lines[m_index].text)) {
        const QByteArrayView piece = m_lines[m_index++].text;
        append(text, m_version == VCardVersion::V21 ? piece : piece.sliced(1));
        if (piece.contains(':')) {
            parsed = parseContentLine(text, line);
            ++tries;
        }
    }
    return text;
}

void ContentLineReader::extendValue(QByteArrayView &text, const ContentLine &line)
{
    const bool runningBase64 = line.base64 && m_version == VCardVersion::V21;
    while (m_index < m_lines.size()) {
        const QByteArrayView next = m_lines[m_index].text;
        const qsizetype padding = line.quotedPrintable ? blanksAtEnd(text) : 0;
        if (line.quotedPrintable && text.chopped(padding).endsWith('=')) {
            append(text, QByteArrayView());
            m_buffer.chop(padding + 1); // the soft line break, and blanks some writers pad it with
            append(text, next);
        } else if (startsWithBlank(next)) {
            append(text, m_version == VCardVersion::V21 ? next : next.sliced(1));
        } else if (runningBase64 && isBase64Line(next)) {
            append(text, next);
        } else {
            if (runningBase64 && isBlankLine(next))
                ++m_index;
            return;
        }
        ++m_index;
    }
}

bool ContentLineReader::next(ContentLine &line)
{
    while (m_index < m_lines.size()) {
        const PhysicalLine &first = m_lines[m_index++];
        if (isBlankLine(first.text))
            continue;
        m_joined = false;
        bool parsed = false;
        QByteArrayView text = unfoldHeader(first.text, line, parsed);
        if (!parsed)
            continue;
        const bool headerJoined = m_joined;
        const qsizetype valueStart = line.value.data() - text.data();
        extendValue(text, line);
        // The value now lies in the joined text; so does a joined header,
        // whose views the joining may have moved.
        if (headerJoined)
            parseContentLine(text, line);
        else if (m_joined)
            line.value = text.sliced(valueStart);
        line.number = first.number;
        return true;
    }
    return false;
}

} // namespace qv::vcard
