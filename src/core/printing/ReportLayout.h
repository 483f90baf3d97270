#pragma once

#include "printing/PrintSettings.h"
#include "printing/ReportContent.h"
#include "printing/ReportLines.h"
#include "printing/ReportPage.h"

namespace qv {

// The texts of the bands around the records.
struct ReportHeader {
    QString title;  // on the first page
    QString footer; // on every page, beside the date and the page number
    QString date;
};

// The title and footer texts of a report for the owner of the address book.
ReportHeader reportHeader(const QString &ownerName, const QString &date);

// Lays a report out page by page on A4, in millimetres: the title band on
// the first page, the records flowing down each column and then the next,
// the footer band on every page. One record never splits over two columns,
// and an organisation's heading stays with its first person. Pages are made
// one at a time, so that a long report holds one page at once.
class ReportLayout {
public:
    ReportLayout(const PrintSettings &settings, const ReportContent &content, ReportHeader header);

    // Where the next page begins: its number less one and its first record.
    struct Position {
        int pagesBefore = 0;
        size_t firstRecord = 0;
    };

    bool atEnd() const { return m_pageNumber > 0 && m_next >= m_content.blocks.size(); }
    ReportPage nextPage();
    // Passes the next page by without placing its texts: finding where each
    // page begins costs a few additions per record.
    void skipPage();
    Position position() const { return {m_pageNumber, m_next}; }
    void moveTo(Position position);

    // The height of a line as the template sets it, in millimetres.
    static double millimetres(int templatePixels) { return templatePixels * 25.4 / kTemplatePixelsPerInch; }

private:
    struct Placed {
        const ReportLine *line;
        double height;
    };
    double blockHeight(const ReportBlock &block) const;
    double neededHeight(size_t index) const;
    void placeBlock(const ReportBlock &block, double left, double top, ReportPage &page) const;
    void placeLine(const ReportLine &line, const ReportBlock &block, double left, double top, double height,
                   ReportPage &page) const;
    void placeBands(ReportPage &page) const;
    // Flows the records of the next page down its columns, placing them on
    // the page when there is one.
    void flowPage(ReportPage *page);

    PrintSettings m_settings;
    const ReportContent &m_content;
    ReportHeader m_header;
    ReportColumns m_columns;
    std::vector<Placed> m_organisationLines;
    std::vector<Placed> m_personLines;
    size_t m_next = 0;
    int m_pageNumber = 0;
};

} // namespace qv
