#include "exchange/vcard/CardSplitter.h"

#include "exchange/vcard/VCardNames.h"

namespace qv::vcard {

namespace {

// Trailing blanks are forgiven; a leading blank would make the line the
// continuation of a folded one.
bool isCardDelimiter(QByteArrayView line, QByteArrayView keyword)
{
    if (line.size() < keyword.size() + 6 || (line[0] | 0x20) != (keyword[0] | 0x20))
        return false;
    QByteArrayView t = line;
    while (!t.isEmpty() && (t.back() == ' ' || t.back() == '\t'))
        t.chop(1);
    return t.size() == keyword.size() + 6 && isSameName(t.first(keyword.size()), keyword)
        && isSameName(t.sliced(keyword.size()), ":VCARD");
}

// "AGENT:" or "item1.AGENT;X=Y:" with nothing after the colon: the 2.1 form
// whose value is the card on the following lines.
bool isAgentWithoutValue(QByteArrayView line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || !line.sliced(colon + 1).trimmed().isEmpty())
        return false;
    QByteArrayView head = line.first(colon);
    const qsizetype semicolon = head.indexOf(';');
    if (semicolon >= 0)
        head = head.first(semicolon);
    const qsizetype dot = head.lastIndexOf('.');
    return isSameName(head.sliced(dot + 1).trimmed(), "AGENT");
}

} // namespace

bool isBeginCardLine(QByteArrayView line)
{
    return isCardDelimiter(line, "BEGIN");
}

bool isEndCardLine(QByteArrayView line)
{
    return isCardDelimiter(line, "END");
}

bool CardSplitter::findBegin(int &beginLine)
{
    if (m_pendingBegin) {
        beginLine = m_pendingBegin;
        m_pendingBegin = 0;
        return true;
    }
    PhysicalLine line;
    while (m_lines.next(line)) {
        if (isBeginCardLine(line.text)) {
            beginLine = line.number;
            return true;
        }
    }
    return false;
}

bool CardSplitter::skipEmbeddedCard()
{
    // Counted, not recursed into: any depth of nesting costs no stack.
    qsizetype depth = 1;
    PhysicalLine line;
    while (m_lines.next(line)) {
        if (isBeginCardLine(line.text))
            ++depth;
        else if (isEndCardLine(line.text) && --depth == 0)
            return true;
    }
    return false;
}

bool CardSplitter::next(CardLines &card)
{
    card.lines.clear();
    card.terminated = false;
    if (!findBegin(card.beginLine))
        return false;
    PhysicalLine line;
    while (m_lines.next(line)) {
        if (isEndCardLine(line.text)) {
            card.terminated = true;
            return true;
        }
        if (isBeginCardLine(line.text)) {
            if (!card.lines.empty() && isAgentWithoutValue(card.lines.back().text)) {
                if (!skipEmbeddedCard())
                    return true;
                continue;
            }
            m_pendingBegin = line.number;
            return true;
        }
        card.lines.push_back(line);
    }
    return true;
}

} // namespace qv::vcard
