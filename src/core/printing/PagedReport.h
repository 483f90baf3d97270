#pragma once

#include "printing/ReportLayout.h"

#include <vector>

namespace qv {

// A report whose page breaks are found once, cheaply, and whose pages are
// laid out only when asked for, so that a viewer can show any page at once
// and holds no more pages than it shows.
class PagedReport {
public:
    PagedReport(const PrintSettings &settings, ReportContent content, ReportHeader header);

    const PrintSettings &settings() const { return m_settings; }
    const ReportContent &content() const { return m_content; }
    const ReportHeader &header() const { return m_header; }

    int pageCount() const { return int(m_starts.size()); }
    // The page of that number, counted from 1.
    ReportPage page(int number) const;

private:
    PrintSettings m_settings;
    ReportContent m_content;
    ReportHeader m_header;
    std::vector<ReportLayout::Position> m_starts;
};

} // namespace qv
