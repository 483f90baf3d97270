#pragma once

#include <QSet>

#include <vector>

namespace qv {

// The marked rows of the entry list (row positions in list order) and the
// anchor from which Shift ranges start, with the marking rules of mouse and
// keyboard. The list view feeds it events; commands read the marks.
class RowMarks {
public:
    enum class Modifier { None, Ctrl, Shift };

    void click(int row, Modifier modifier);
    // Up or Down by one row from `from` to `to`, with or without Shift.
    void step(int from, int to, bool shift);
    void markAll(int rowCount);
    void clear();

    bool isMarked(int row) const { return m_marked.contains(row); }
    int count() const { return int(m_marked.size()); }
    int anchor() const { return m_anchor; }
    // Marked rows in list order.
    std::vector<int> rows() const;

private:
    QSet<int> m_marked;
    int m_anchor = -1;
};

} // namespace qv
