#include "printing/PreviewPageView.h"

#include "common/LayoutScale.h"
#include "printing/ReportPainter.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kZoomStep = 1.25;
constexpr double kSmallestZoom = 0.1;
constexpr double kLargestZoom = 4.0;
constexpr int kWheelNotch = 120;
// Enough for the pages one screen shows at the smallest zoom; a page laid out takes a few kilobytes.
constexpr size_t kLaidOutPagesKept = 12;

int pixels(double millimetres, int dpi)
{
    return qRound(millimetres * dpi / kMillimetresPerInch);
}

int dotsPerInchFor(int pixels, double millimetres)
{
    return int(std::floor(pixels * kMillimetresPerInch / millimetres));
}

} // namespace

PreviewPageView::PreviewPageView(const PagedReport &report, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_report(report)
    , m_screenDpi(logicalDpiX())
    , m_gap(LayoutScale::ofApplication()(10))
    , m_dpi(m_screenDpi)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    verticalScrollBar()->setSingleStep(2 * m_gap);
    horizontalScrollBar()->setSingleStep(2 * m_gap);
}

QSize PreviewPageView::pageSize() const
{
    return {pixels(page::kWidth, m_dpi), pixels(page::kHeight, m_dpi)};
}

int PreviewPageView::pageTop(int number) const
{
    return m_gap + (number - 1) * (pageSize().height() + m_gap);
}

int PreviewPageView::pageAtContentY(int y) const
{
    // A page owns half the gap above it and half the gap below.
    return std::clamp((y - m_gap / 2) / (pageSize().height() + m_gap) + 1, 1, pageCount());
}

QRect PreviewPageView::pageRect(int number) const
{
    const QSize size = pageSize();
    const int contentWidth = size.width() + 2 * m_gap;
    const int viewportWidth = viewport()->width();
    const int x = contentWidth <= viewportWidth ? (viewportWidth - size.width()) / 2
                                                : m_gap - horizontalScrollBar()->value();
    return {QPoint(x, pageTop(number) - verticalScrollBar()->value()), size};
}

void PreviewPageView::showPage(int number)
{
    m_current = std::clamp(number, 1, pageCount());
    m_showingPage = true;
    verticalScrollBar()->setValue(pageTop(m_current) - m_gap);
    m_showingPage = false;
    emit currentPageChanged(m_current);
}

void PreviewPageView::setZoomFactor(double factor)
{
    m_fit = Fit::None;
    const double zoom = std::clamp(factor, kSmallestZoom, kLargestZoom);
    setDotsPerInch(qRound(zoom * m_screenDpi));
    emit zoomChanged();
}

void PreviewPageView::zoomIn()
{
    setZoomFactor(zoomFactor() * kZoomStep);
}

void PreviewPageView::zoomOut()
{
    setZoomFactor(zoomFactor() / kZoomStep);
}

void PreviewPageView::setFit(Fit fit)
{
    m_fit = fit;
    if (fit != Fit::None)
        setDotsPerInch(fittingDotsPerInch());
    emit zoomChanged();
}

int PreviewPageView::fittingDotsPerInch() const
{
    int dpi = dotsPerInchFor(viewport()->width() - 2 * m_gap, page::kWidth);
    if (m_fit == Fit::Page)
        dpi = std::min(dpi, dotsPerInchFor(viewport()->height() - 2 * m_gap, page::kHeight));
    return std::clamp(dpi, qRound(kSmallestZoom * m_screenDpi), qRound(kLargestZoom * m_screenDpi));
}

void PreviewPageView::setDotsPerInch(int dpi)
{
    if (dpi == m_dpi)
        return;
    // The current page keeps the same share of it in view.
    const int pitch = pageSize().height() + m_gap;
    const double within = double(verticalScrollBar()->value() - (pageTop(m_current) - m_gap)) / pitch;
    m_dpi = dpi;
    updateScrollBars();
    m_showingPage = true;
    verticalScrollBar()->setValue(pageTop(m_current) - m_gap + qRound(within * (pageSize().height() + m_gap)));
    m_showingPage = false;
    viewport()->update();
}

void PreviewPageView::updateScrollBars()
{
    const QSize size = pageSize();
    const QSize view = viewport()->size();
    const int contentHeight = pageTop(pageCount() + 1);
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setRange(0, std::max(0, size.width() + 2 * m_gap - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
}

void PreviewPageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (m_fit != Fit::None && fittingDotsPerInch() != m_dpi) {
        setDotsPerInch(fittingDotsPerInch());
        emit zoomChanged();
    }
}

void PreviewPageView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
    followScrolling();
}

void PreviewPageView::followScrolling()
{
    if (m_showingPage)
        return;
    const QScrollBar *bar = verticalScrollBar();
    int number = pageAtContentY(bar->value() + viewport()->height() / 2);
    if (bar->value() == 0)
        number = 1;
    else if (bar->value() == bar->maximum())
        number = pageCount();
    if (number != m_current) {
        m_current = number;
        emit currentPageChanged(number);
    }
}

void PreviewPageView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    m_wheelAngle += event->angleDelta().y();
    for (; m_wheelAngle >= kWheelNotch; m_wheelAngle -= kWheelNotch)
        zoomIn();
    for (; m_wheelAngle <= -kWheelNotch; m_wheelAngle += kWheelNotch)
        zoomOut();
    event->accept();
}

void PreviewPageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    const int scrolled = verticalScrollBar()->value();
    const int last = pageAtContentY(exposed.bottom() + scrolled);
    painter.setPen(palette().color(QPalette::Shadow));
    for (int number = pageAtContentY(exposed.top() + scrolled); number <= last; ++number) {
        const QRect page = pageRect(number);
        painter.drawRect(page.adjusted(-1, -1, 0, 0)); // a frame just outside the paper
        const QRect part = page & exposed;
        if (!part.isEmpty())
            drawPagePart(painter, number, part);
    }
}

const ReportPage &PreviewPageView::laidOutPage(int number)
{
    const auto found =
        std::find_if(m_laidOut.begin(), m_laidOut.end(), [number](const ReportPage &p) { return p.number == number; });
    if (found != m_laidOut.end())
        return *found;
    if (m_laidOut.size() == kLaidOutPagesKept)
        m_laidOut.pop_back();
    m_laidOut.push_front(m_report.page(number));
    return m_laidOut.front();
}

// Only the exposed part is drawn, at the zoom's resolution as a printer of
// that resolution would draw it, so that a page at a large zoom costs no
// more memory than the screen shows.
void PreviewPageView::drawPagePart(QPainter &painter, int number, const QRect &part)
{
    const double ratio = devicePixelRatioF();
    const int dpi = qRound(m_dpi * ratio);
    const int dotsPerMetre = qRound(dpi * 1000 / kMillimetresPerInch);
    QImage image((QSizeF(part.size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter imagePainter(&image);
        imagePainter.translate(QPointF(pageRect(number).topLeft() - part.topLeft()) * ratio);
        ReportPainter reportPainter(imagePainter);
        reportPainter.drawPage(laidOutPage(number));
    }
    image.setDevicePixelRatio(ratio);
    painter.drawImage(part.topLeft(), image);
}

} // namespace qv
