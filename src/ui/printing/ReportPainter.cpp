#include "printing/ReportPainter.h"

#include "common/Error.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace qv {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kRuleWidth = 0.2; // mm

// Families that Windows documents name, and the metric-compatible ones
// that Linux desktops install in their place.
QString compatibleFamily(const QString &family)
{
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (family.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (family.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Mono");
    return QStringLiteral("DejaVu Sans");
}

QString singleLine(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return text;
}

QPainter &startPainting(QPainter &painter, QPagedPaintDevice &device)
{
    if (!painter.begin(&device))
        throw Error(QStringLiteral("The report could not be printed."));
    return painter;
}

} // namespace

QColor reportColor(qint32 color)
{
    if ((color & kSystemColorFlag) == 0)
        return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    switch (color & 0xFF) {
    case 5:  // window
    case 14: // highlighted text
        return Qt::white;
    case 13: // highlight
        return QColor(0, 0, 128);
    case 15: // button face
        return QColor(192, 192, 192);
    case 16: // button shadow
    case 17: // grey text
        return QColor(128, 128, 128);
    default: // window text, button text and the rest: ink on paper
        return Qt::black;
    }
}

QFont reportFont(const ReportFont &wanted)
{
    QFont font;
    font.setFamilies({wanted.family, compatibleFamily(wanted.family)});
    font.setPointSize(wanted.pointSize);
    font.setBold(wanted.bold);
    return font;
}

ReportPainter::ReportPainter(QPainter &painter)
    : m_painter(painter)
    , m_scaleX(painter.device()->logicalDpiX() / kMillimetresPerInch)
    , m_scaleY(painter.device()->logicalDpiY() / kMillimetresPerInch)
{
}

const ReportPainter::CachedFont &ReportPainter::fontFor(const ReportFont &wanted)
{
    for (const CachedFont &cached : m_fonts) {
        if (cached.wanted == wanted)
            return cached;
    }
    const QFont font = reportFont(wanted);
    m_fonts.push_back({wanted, font, QFontMetricsF(font, m_painter.device())});
    return m_fonts.back();
}

void ReportPainter::drawPage(const ReportPage &page)
{
    QPen pen(Qt::black);
    pen.setWidthF(kRuleWidth * m_scaleX);
    for (const ReportRule &rule : page.rules) {
        pen.setStyle(rule.style == RuleStyle::DashDot ? Qt::DashDotLine : Qt::DotLine);
        m_painter.setPen(pen);
        m_painter.drawLine(point(rule.x1, rule.y), point(rule.x2, rule.y));
    }
    for (const ReportText &text : page.texts) {
        const CachedFont &f = fontFor(text.font);
        const QPointF topLeft = point(text.x, text.y);
        const double width = text.width * m_scaleX;
        // A font taller than its line overlaps the next line rather than losing its lower half.
        const QRectF box(topLeft, QSizeF(width, std::max(text.height * m_scaleY, f.metrics.height())));
        m_painter.setFont(f.font);
        m_painter.setPen(reportColor(text.font.color));
        m_painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                           f.metrics.elidedText(singleLine(text.text), Qt::ElideRight, width));
    }
}

void prepareReportPage(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
}

void paintReport(QPagedPaintDevice &device, const PrintSettings &settings, const ReportContent &content,
                 const ReportHeader &header)
{
    QPainter painter;
    ReportPainter pages(startPainting(painter, device));
    ReportLayout layout(settings, content, header);
    while (!layout.atEnd()) {
        const ReportPage page = layout.nextPage();
        if (page.number > 1)
            device.newPage();
        pages.drawPage(page);
    }
}

void paintReportPages(QPagedPaintDevice &device, const PagedReport &report, int first, int last)
{
    QPainter painter;
    ReportPainter pages(startPainting(painter, device));
    for (int number = first; number <= last; ++number) {
        if (number > first)
            device.newPage();
        pages.drawPage(report.page(number));
    }
}

} // namespace qv
