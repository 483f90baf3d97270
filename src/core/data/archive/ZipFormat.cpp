#include "data/archive/ZipFormat.h"

namespace qv::archive {

std::uint16_t ByteReader::u16()
{
    if (!has(2)) {
        m_ok = false;
        return 0;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(m_data.constData() + m_pos);
    m_pos += 2;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ByteReader::u32()
{
    if (!has(4)) {
        m_ok = false;
        return 0;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(m_data.constData() + m_pos);
    m_pos += 4;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

std::uint64_t ByteReader::u64()
{
    if (!has(8)) {
        m_ok = false;
        return 0;
    }
    const std::uint64_t low = u32();
    return low | (std::uint64_t(u32()) << 32);
}

QByteArray ByteReader::bytes(qsizetype count)
{
    if (!has(count)) {
        m_ok = false;
        return {};
    }
    QByteArray result = m_data.mid(m_pos, count);
    m_pos += count;
    return result;
}

void ByteReader::skip(qsizetype count)
{
    if (!has(count)) {
        m_ok = false;
        return;
    }
    m_pos += count;
}

std::optional<QByteArray> extraField(const QByteArray &extraFields, std::uint16_t id)
{
    ByteReader r(extraFields);
    while (r.has(4)) {
        const std::uint16_t fieldId = r.u16();
        const std::uint16_t size = r.u16();
        if (!r.has(size))
            return std::nullopt; // a cut-off field holds no usable value
        if (fieldId == id)
            return r.bytes(size);
        r.skip(size);
    }
    return std::nullopt;
}

void appendU16(QByteArray &out, std::uint16_t value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void appendU32(QByteArray &out, std::uint32_t value)
{
    appendU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    appendU16(out, static_cast<std::uint16_t>(value >> 16));
}

void appendU64(QByteArray &out, std::uint64_t value)
{
    appendU32(out, static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    appendU32(out, static_cast<std::uint32_t>(value >> 32));
}

DosDateTime toDosDateTime(const QDateTime &time)
{
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (!d.isValid() || d.year() < 1980)
        return {0, static_cast<std::uint16_t>((1 << 5) | 1)};
    const int year = std::min(d.year(), 2107) - 1980;
    DosDateTime dos;
    dos.date = static_cast<std::uint16_t>((year << 9) | (d.month() << 5) | d.day());
    dos.time = static_cast<std::uint16_t>((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
    return dos;
}

} // namespace qv::archive
