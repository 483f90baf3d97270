#pragma once

#include <QByteArrayView>

namespace qv::vcard {

// One line of a file without its line end, and its 1-based number.
struct PhysicalLine {
    QByteArrayView text;
    int number = 0;
};

// Cuts a file into lines at CR LF, LF or a lone CR, in one pass.
class LineReader {
public:
    explicit LineReader(QByteArrayView file) : m_file(file) {}

    bool next(PhysicalLine &line);

private:
    qsizetype nextBreak(char which, qsizetype &cached) const;

    QByteArrayView m_file;
    qsizetype m_pos = 0;
    int m_number = 0;
    // Where the next LF and CR are; each is searched again only once passed,
    // so a file is scanned once however its lines end.
    qsizetype m_nextLf = -1;
    qsizetype m_nextCr = -1;
};

} // namespace qv::vcard
