#include "printing/PagedReport.h"

#include <QtGlobal>

namespace qv {

PagedReport::PagedReport(const PrintSettings &settings, ReportContent content, ReportHeader header)
    : m_settings(settings)
    , m_content(std::move(content))
    , m_header(std::move(header))
{
    ReportLayout layout(m_settings, m_content, m_header);
    while (!layout.atEnd()) {
        m_starts.push_back(layout.position());
        layout.skipPage();
    }
}

ReportPage PagedReport::page(int number) const
{
    Q_ASSERT(number >= 1 && number <= pageCount());
    ReportLayout layout(m_settings, m_content, m_header);
    layout.moveTo(m_starts[number - 1]);
    return layout.nextPage();
}

} // namespace qv
