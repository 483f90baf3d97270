#include "exchange/vcard/LineReader.h"

#include <cstring>

namespace qv::vcard {

qsizetype LineReader::nextBreak(char which, qsizetype &cached) const
{
    if (cached >= m_pos)
        return cached;
    const void *hit = std::memchr(m_file.data() + m_pos, which, static_cast<size_t>(m_file.size() - m_pos));
    cached = hit ? static_cast<const char *>(hit) - m_file.data() : m_file.size();
    return cached;
}

bool LineReader::next(PhysicalLine &line)
{
    if (m_pos >= m_file.size())
        return false;
    const qsizetype lf = nextBreak('\n', m_nextLf);
    const qsizetype cr = nextBreak('\r', m_nextCr);
    const qsizetype end = std::min(lf, cr);
    line.text = m_file.sliced(m_pos, end - m_pos);
    line.number = ++m_number;
    qsizetype after = end + 1;
    if (end == cr && cr + 1 == lf)
        ++after;
    m_pos = after;
    return true;
}

} // namespace qv::vcard
