#include "navigation/RowMarks.h"

#include <algorithm>

namespace qv {

void RowMarks::click(int row, Modifier modifier)
{
    switch (modifier) {
    case Modifier::None:
        // A click on a marked row keeps the set, so that it can be dragged.
        if (!m_marked.contains(row)) {
            m_marked.clear();
            m_marked.insert(row);
        }
        m_anchor = row;
        break;
    case Modifier::Ctrl:
        if (!m_marked.remove(row))
            m_marked.insert(row);
        m_anchor = row;
        break;
    case Modifier::Shift:
        if (m_marked.isEmpty() || m_anchor < 0)
            return;
        for (int r = std::min(m_anchor, row); r <= std::max(m_anchor, row); ++r)
            m_marked.insert(r);
        break;
    }
}

void RowMarks::step(int from, int to, bool shift)
{
    if (!shift) {
        clear();
        return;
    }
    if (m_marked.isEmpty()) {
        // The first step marks the row left and makes it the anchor.
        m_marked.insert(from);
        m_anchor = from;
    }
    const bool away = std::abs(to - m_anchor) > std::abs(from - m_anchor);
    if (away)
        m_marked.insert(to);
    else if (from != m_anchor)
        m_marked.remove(from); // back toward the anchor: unmark the row left
}

void RowMarks::markAll(int rowCount)
{
    m_marked.clear();
    m_marked.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r)
        m_marked.insert(r);
}

void RowMarks::clear()
{
    m_marked.clear();
}

std::vector<int> RowMarks::rows() const
{
    std::vector<int> list(m_marked.cbegin(), m_marked.cend());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace qv
