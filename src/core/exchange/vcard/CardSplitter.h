#pragma once

#include "exchange/vcard/LineReader.h"

#include <vector>

namespace qv::vcard {

// The lines of one card, between its BEGIN:VCARD and END:VCARD lines.
struct CardLines {
    int beginLine = 0;
    bool terminated = false; // false: the file or the next card began before END:VCARD
    std::vector<PhysicalLine> lines;
};

// Finds the cards of a file in order. Lines outside cards (other objects
// such as VCALENDAR, blank lines, stray text) are passed over. A BEGIN:VCARD
// inside a card starts the next card and leaves the open one unterminated,
// except right after an AGENT property without value, where it opens a card
// embedded in that property, which is passed over.
class CardSplitter {
public:
    explicit CardSplitter(QByteArrayView file) : m_lines(file) {}

    // Fills card with the next card of the file; false at the end.
    bool next(CardLines &card);

private:
    bool findBegin(int &beginLine);
    bool skipEmbeddedCard();

    LineReader m_lines;
    int m_pendingBegin = 0; // a BEGIN:VCARD already read that starts the next card
};

bool isBeginCardLine(QByteArrayView line);
bool isEndCardLine(QByteArrayView line);

} // namespace qv::vcard
