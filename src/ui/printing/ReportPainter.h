#pragma once

#include "printing/PagedReport.h"
#include "printing/ReportLayout.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>

#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace qv {

// A template colour as printed: 0x00BBGGRR, or a system colour as a classic
// desktop shows it on white paper.
QColor reportColor(qint32 color);
// The font a report names: the family, then a metric-compatible family of
// the system's for names of fonts other desktops have, then fontconfig's
// fallbacks (wide characters come from a font that has them).
QFont reportFont(const ReportFont &font);

// Draws laid-out pages with a painter that is active on a page of A4 paper,
// the origin at the paper's top-left corner.
class ReportPainter {
public:
    explicit ReportPainter(QPainter &painter);
    void drawPage(const ReportPage &page);

private:
    struct CachedFont {
        ReportFont wanted;
        QFont font;
        QFontMetricsF metrics;
    };
    const CachedFont &fontFor(const ReportFont &wanted);
    QPointF point(double x, double y) const { return {x * m_scaleX, y * m_scaleY}; }

    QPainter &m_painter;
    double m_scaleX;
    double m_scaleY;
    std::vector<CachedFont> m_fonts;
};

// Sets A4 portrait without margins, so that the layout's millimetres count from the paper's corner.
void prepareReportPage(QPagedPaintDevice &device);

// Lays the report out and paints every page on the device, one page at a
// time. Throws qv::Error when the device cannot be painted on.
void paintReport(QPagedPaintDevice &device, const PrintSettings &settings, const ReportContent &content,
                 const ReportHeader &header);
// Paints the pages first to last of a report already broken into pages.
void paintReportPages(QPagedPaintDevice &device, const PagedReport &report, int first, int last);

} // namespace qv
