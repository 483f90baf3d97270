#pragma once

#include <QByteArrayView>
#include <QString>

namespace qv {

// A little-endian cursor over bytes of outside origin. Every read and every
// jump is checked against the bytes that are there first; what cannot be
// read goes to the reader's failure function, which throws the error of its
// format.
class ByteReader {
public:
    // Must throw: reading never goes on after a failure.
    using Failure = void (*)(const QString &what);

    ByteReader(QByteArrayView bytes, Failure fail) : m_bytes(bytes), m_fail(fail) {}

    qsizetype position() const { return m_position; }
    qsizetype size() const { return m_bytes.size(); }
    qsizetype left() const { return m_bytes.size() - m_position; }

    // Moves to an offset from the start; "what" names the offset's owner in the failure.
    void seek(qint64 offset, const char *what);
    QByteArrayView take(qint64 count, const char *what);
    void skip(qint64 count, const char *what) { take(count, what); }
    quint8 u8(const char *what) { return quint8(take(1, what)[0]); }
    quint16 u16(const char *what);
    quint32 u32(const char *what);
    quint64 u64(const char *what);

private:
    [[noreturn]] void fail(const QString &what) const;

    QByteArrayView m_bytes;
    Failure m_fail;
    qsizetype m_position = 0;
};

// The little-endian number in the first bytes of the view (at most eight).
quint64 littleEndian(QByteArrayView bytes);

} // namespace qv
