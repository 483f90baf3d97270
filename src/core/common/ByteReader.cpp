#include "common/ByteReader.h"

#include <exception>

namespace qv {

quint64 littleEndian(QByteArrayView bytes)
{
    quint64 value = 0;
    for (qsizetype i = std::min<qsizetype>(bytes.size(), 8); i-- > 0;)
        value = (value << 8) | quint8(bytes[i]);
    return value;
}

void ByteReader::fail(const QString &what) const
{
    m_fail(what);
    std::terminate(); // a failure function that returns would let reading run on
}

void ByteReader::seek(qint64 offset, const char *what)
{
    if (offset < 0 || offset > m_bytes.size())
        fail(QStringLiteral("%1 points outside the file").arg(QLatin1String(what)));
    m_position = qsizetype(offset);
}

QByteArrayView ByteReader::take(qint64 count, const char *what)
{
    if (count < 0 || count > left())
        fail(QStringLiteral("%1 runs past the end of the file").arg(QLatin1String(what)));
    const QByteArrayView part = m_bytes.sliced(m_position, qsizetype(count));
    m_position += qsizetype(count);
    return part;
}

quint16 ByteReader::u16(const char *what)
{
    return quint16(littleEndian(take(2, what)));
}

quint32 ByteReader::u32(const char *what)
{
    return quint32(littleEndian(take(4, what)));
}

quint64 ByteReader::u64(const char *what)
{
    return littleEndian(take(8, what));
}

} // namespace qv
