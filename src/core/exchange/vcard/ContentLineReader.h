#pragma once

#include "exchange/vcard/LineReader.h"
#include "exchange/vcard/VCardVersion.h"

#include <QByteArray>

#include <vector>

namespace qv::vcard {

// A parameter as written: "TYPE=HOME,FAX" has a name and a value (quotes
// still around it), a bare 2.1 "HOME" only a value.
struct RawParameter {
    QByteArrayView name;
    QByteArrayView value;
};

// One property of a card as the text gives it, its folded lines joined.
// The views stay valid until the next line is read.
struct ContentLine {
    int number = 0; // of its first line
    QByteArrayView group;
    QByteArrayView name;
    std::vector<RawParameter> parameters;
    QByteArrayView value; // still quoted-printable or base64 where the parameters say so
    bool quotedPrintable = false;
    bool base64 = false;
};

// Reads the properties of one card from its lines. Folding follows the
// card's version: 2.1 keeps the blank that starts a continuation line, 3.0
// and 4.0 drop it. A quoted-printable value continues after a line ending in
// "=" (a soft line break); a 2.1 base64 value runs on over unindented lines
// of base64 up to a blank line. Lines that are not properties are passed over.
class ContentLineReader {
public:
    ContentLineReader(const std::vector<PhysicalLine> &lines, VCardVersion version)
        : m_lines(lines), m_version(version) {}

    bool next(ContentLine &line);

private:
    QByteArrayView unfoldHeader(QByteArrayView first, ContentLine &line, bool &parsed);
    void extendValue(QByteArrayView &text, const ContentLine &line);
    void append(QByteArrayView &text, QByteArrayView piece);

    const std::vector<PhysicalLine> &m_lines;
    VCardVersion m_version;
    std::size_t m_index = 0;
    QByteArray m_buffer;
    bool m_joined = false;
};

// Splits "group.NAME;params:value" into its parts; false when the text is not
// a property line.
bool parseContentLine(QByteArrayView text, ContentLine &line);

} // namespace qv::vcard
