#pragma once

#include "printing/PagedReport.h"

#include <QAbstractScrollArea>

#include <deque>

namespace qv {

// The pages of a report one below the other, drawn only where they show:
// each paint lays out the pages in view (a few are kept) and draws the
// exposed part of each at the zoom's resolution, so that the first page
// shows at once and memory does not grow with the number of pages.
class PreviewPageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Fit { None, Width, Page };

    explicit PreviewPageView(const PagedReport &report, QWidget *parent = nullptr);

    int pageCount() const { return m_report.pageCount(); }
    int currentPage() const { return m_current; }
    // Scrolls the page's top into view and makes it the current page.
    void showPage(int number);

    // The resolution the pages are drawn at; the zoom is its share of the screen's.
    int dotsPerInch() const { return m_dpi; }
    double zoomFactor() const { return double(m_dpi) / m_screenDpi; }
    void setZoomFactor(double factor);
    void zoomIn();
    void zoomOut();
    Fit fit() const { return m_fit; }
    void setFit(Fit fit);

    // Where the page stands, in the viewport's coordinates.
    QRect pageRect(int number) const;

signals:
    void currentPageChanged(int number);
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSize pageSize() const;
    int pageTop(int number) const; // in the content's coordinates
    int pageAtContentY(int y) const;
    int fittingDotsPerInch() const;
    void setDotsPerInch(int dpi);
    void updateScrollBars();
    void followScrolling();
    const ReportPage &laidOutPage(int number);
    void drawPagePart(QPainter &painter, int number, const QRect &part);

    const PagedReport &m_report;
    const int m_screenDpi;
    const int m_gap;
    int m_dpi;
    Fit m_fit = Fit::Width;
    int m_current = 1;
    bool m_showingPage = false;
    int m_wheelAngle = 0;
    std::deque<ReportPage> m_laidOut; // the pages drawn last
};

} // namespace qv
