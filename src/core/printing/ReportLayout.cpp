#include "printing/ReportLayout.h"

#include <algorithm>

namespace qv {

namespace {

// Rounding of millimetre sums must not push a record that fits into the next column.
constexpr double kTolerance = 1e-6;

const ReportFont kTitleFont{QStringLiteral("Arial"), 14};
const ReportFont kFooterFont{QStringLiteral("Arial"), 10, true};
const ReportFont kFooterValueFont{QStringLiteral("Arial"), 10};

// Where the next text of the line starts, or the column's edge.
double nextTextX(const ReportLine &line, double x, double columnWidth)
{
    double next = columnWidth;
    for (const LineItem &item : line.items) {
        if (item.kind != LineItem::Kind::Rule && item.x > x)
            next = std::min(next, item.x);
    }
    return next;
}

void addText(ReportPage &page, double x, double y, double width, double height, QString text, const ReportFont &font)
{
    if (!text.isEmpty())
        page.texts.push_back({x, y, width, height, std::move(text), font});
}

} // namespace

ReportHeader reportHeader(const QString &ownerName, const QString &date)
{
    return {ownerName + QStringLiteral("'s Address Book"), QStringLiteral("Quorvel printing for ") + ownerName, date};
}

ReportLayout::ReportLayout(const PrintSettings &settings, const ReportContent &content, ReportHeader header)
    : m_settings(settings)
    , m_content(content)
    , m_header(std::move(header))
    , m_columns(reportColumns(settings.mode))
{
    for (const ReportLine &line : reportLines(settings.mode)) {
        if (!settings.printsLine(line.number))
            continue;
        const Placed placed{&line, millimetres(settings.lineHeight(line.number))};
        (line.organisationLine ? m_organisationLines : m_personLines).push_back(placed);
    }
}

double ReportLayout::blockHeight(const ReportBlock &block) const
{
    double height = 0;
    for (const Placed &p : block.kind == ReportBlock::Kind::Organisation ? m_organisationLines : m_personLines)
        height += p.height;
    return height;
}

double ReportLayout::neededHeight(size_t index) const
{
    const std::vector<ReportBlock> &blocks = m_content.blocks;
    double height = blockHeight(blocks[index]);
    // An organisation's heading goes with its first person.
    if (blocks[index].kind == ReportBlock::Kind::Organisation && index + 1 < blocks.size()
        && blocks[index + 1].kind == ReportBlock::Kind::Person)
        height += blockHeight(blocks[index + 1]);
    return height;
}

ReportPage ReportLayout::nextPage()
{
    ReportPage page;
    flowPage(&page);
    return page;
}

void ReportLayout::skipPage()
{
    flowPage(nullptr);
}

void ReportLayout::moveTo(Position position)
{
    m_pageNumber = position.pagesBefore;
    m_next = std::min(position.firstRecord, m_content.blocks.size());
}

void ReportLayout::flowPage(ReportPage *page)
{
    const int number = ++m_pageNumber;
    if (page) {
        page->number = number;
        placeBands(*page);
    }
    const double top = number == 1 ? page::kMargin + page::kBandHeight : page::kMargin;
    const std::vector<ReportBlock> &blocks = m_content.blocks;
    int column = 0;
    double y = top;
    while (m_next < blocks.size()) {
        // A record taller than a whole column still goes at a column's top, cut by the footer.
        if (y + neededHeight(m_next) > page::kFooterTop + kTolerance && y > top) {
            if (++column == m_columns.count)
                break;
            y = top;
            continue;
        }
        if (page)
            placeBlock(blocks[m_next], page::kMargin + column * (m_columns.width + m_columns.gap), y, *page);
        y += blockHeight(blocks[m_next]);
        ++m_next;
    }
}

void ReportLayout::placeBlock(const ReportBlock &block, double left, double top, ReportPage &page) const
{
    for (const Placed &p : block.kind == ReportBlock::Kind::Organisation ? m_organisationLines : m_personLines) {
        placeLine(*p.line, block, left, top, p.height, page);
        top += p.height;
    }
}

void ReportLayout::placeLine(const ReportLine &line, const ReportBlock &block, double left, double top, double height,
                             ReportPage &page) const
{
    const double edge = m_columns.width;
    for (const LineItem &item : line.items) {
        const double width = nextTextX(line, item.x, edge) - item.x;
        switch (item.kind) {
        case LineItem::Kind::Rule:
            page.rules.push_back({left + item.x, left + edge, top, item.rule});
            break;
        case LineItem::Kind::Caption:
            addText(page, left + item.x, top, width, height, item.caption, item.captionFont);
            break;
        case LineItem::Kind::Field: {
            const FieldFont &f = m_settings.font(item.field);
            addText(page, left + item.x, top, width, height,
                    m_content.text(block, printFieldColumn(item.field), isOrganisationField(item.field)),
                    ReportFont{f.name, f.size, false, f.color});
            break;
        }
        }
    }
}

void ReportLayout::placeBands(ReportPage &page) const
{
    using namespace page;
    const double right = kWidth - kMargin;
    if (page.number == 1)
        addText(page, kMargin + kTitleLeft, kMargin, right - kMargin - kTitleLeft, kBandHeight, m_header.title, kTitleFont);
    const double y = kFooterTop + kFooterTextTop;
    const double height = kBandHeight - kFooterTextTop;
    addText(page, kMargin + kFooterTextLeft, y, kDateLeft - kFooterTextLeft, height, m_header.footer, kFooterFont);
    addText(page, kMargin + kDateLeft, y, kPageNumberLeft - kDateLeft, height, m_header.date, kFooterValueFont);
    addText(page, kMargin + kPageNumberLeft, y, right - kMargin - kPageNumberLeft, height, QString::number(page.number),
            kFooterValueFont);
}

} // namespace qv
