#include "printing/ReportPreview.h"

#include "common/Error.h"
#include "common/Prompter.h"
#include "printing/PreviewPageView.h"
#include "printing/ReportPainter.h"
#include "printing/ReportPdf.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

const int kZoomChoices[] = {25, 50, 75, 100, 125, 150, 200, 300, 400};

// The desktop's icon where it has one, else the one Qt's own preview shows.
QIcon previewIcon(const char *name)
{
    const QString file = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-%2.png");
    QIcon fallback;
    for (int size : {24, 32})
        fallback.addFile(file.arg(QLatin1String(name)).arg(size));
    return QIcon::fromTheme(QLatin1String(name), fallback);
}

QString percent(double factor)
{
    return QStringLiteral("%1%").arg(qRound(factor * 100));
}

} // namespace

ReportPreview::ReportPreview(PagedReport report, QPrinter &printer, bool printerInstalled, Prompter &prompter,
                             QWidget *parent)
    : QDialog(parent)
    , m_report(std::move(report))
    , m_printer(printer)
    , m_prompter(prompter)
    , m_view(new PreviewPageView(m_report, this))
    , m_toolBar(new QToolBar(this))
{
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    createToolBar(printerInstalled);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_view);
    connect(m_view, &PreviewPageView::currentPageChanged, this, &ReportPreview::showCurrentPage);
    connect(m_view, &PreviewPageView::zoomChanged, this, &ReportPreview::showZoom);
    m_view->setFit(PreviewPageView::Fit::Width);
    showCurrentPage(1);
    m_view->setFocus();
    // A page at its actual size, as wide as the tool bar needs, as tall as the screen allows.
    const QRect available = screen()->availableGeometry();
    const int pageWidth = qRound(page::kWidth / 25.4 * logicalDpiX());
    resize(QSize(std::max(m_toolBar->sizeHint().width(), pageWidth + 60), available.height() * 9 / 10)
               .boundedTo(available.size()));
}

QAction *ReportPreview::addCommand(const QString &text, const char *name, const char *icon,
                                   const QKeySequence &shortcut)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    if (icon)
        action->setIcon(previewIcon(icon));
    action->setShortcut(shortcut);
    if (!shortcut.isEmpty())
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(QLatin1Char('&')),
                                                       shortcut.toString(QKeySequence::NativeText)));
    addAction(action); // the keys work wherever the focus is in the window
    m_toolBar->addAction(action);
    return action;
}

void ReportPreview::createToolBar(bool printerInstalled)
{
    m_toolBar->setIconSize(QSize(24, 24));
    m_fitWidth = addCommand(QStringLiteral("Fit &Width"), "fitWidth", "zoom-fit-width", {});
    m_fitPage = addCommand(QStringLiteral("Fit &Page"), "fitPage", "zoom-fit-page", {});
    for (QAction *fit : {m_fitWidth, m_fitPage})
        fit->setCheckable(true);
    connect(m_fitWidth, &QAction::triggered, this, [this] { m_view->setFit(PreviewPageView::Fit::Width); });
    connect(m_fitPage, &QAction::triggered, this, [this] { m_view->setFit(PreviewPageView::Fit::Page); });
    m_toolBar->addSeparator();
    connect(addCommand(QStringLiteral("Zoom &Out"), "zoomOut", "zoom-out", QKeySequence::ZoomOut),
            &QAction::triggered, m_view, &PreviewPageView::zoomOut);
    m_toolBar->addWidget(createZoomBox());
    connect(addCommand(QStringLiteral("Zoom &In"), "zoomIn", "zoom-in", QKeySequence::ZoomIn), &QAction::triggered,
            m_view, &PreviewPageView::zoomIn);
    m_toolBar->addSeparator();
    connect(addCommand(QStringLiteral("&First Page"), "firstPage", "go-first", Qt::Key_Home), &QAction::triggered,
            this, [this] { m_view->showPage(1); });
    connect(addCommand(QStringLiteral("P&revious Page"), "previousPage", "go-previous", Qt::Key_PageUp),
            &QAction::triggered, this, [this] { m_view->showPage(m_view->currentPage() - 1); });
    addPageField();
    connect(addCommand(QStringLiteral("&Next Page"), "nextPage", "go-next", Qt::Key_PageDown), &QAction::triggered,
            this, [this] { m_view->showPage(m_view->currentPage() + 1); });
    connect(addCommand(QStringLiteral("&Last Page"), "lastPage", "go-last", Qt::Key_End), &QAction::triggered, this,
            [this] { m_view->showPage(m_view->pageCount()); });
    m_toolBar->addSeparator();
    QAction *print = addCommand(QStringLiteral("&Print"), "print", "printer", QKeySequence::Print);
    print->setEnabled(printerInstalled);
    connect(print, &QAction::triggered, this, &ReportPreview::printReport);
    connect(addCommand(QStringLiteral("Export to PDF..."), "exportPdf", nullptr, {}), &QAction::triggered, this,
            &ReportPreview::exportPdf);
    m_toolBar->addSeparator();
    // Esc closes the window as in any dialog.
    connect(addCommand(QStringLiteral("&Close"), "close", nullptr, {}), &QAction::triggered, this,
            &ReportPreview::reject);
    for (const char *name : {"print", "exportPdf", "close"}) {
        auto *button = static_cast<QToolButton *>(m_toolBar->widgetForAction(findChild<QAction *>(name)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
}

void ReportPreview::addPageField()
{
    m_pageField = new QLineEdit(m_toolBar);
    m_pageField->setObjectName(QStringLiteral("pageNumber"));
    m_pageField->setValidator(new QIntValidator(1, m_view->pageCount(), m_pageField));
    m_pageField->setAlignment(Qt::AlignRight);
    m_pageField->setToolTip(QStringLiteral("Page number"));
    const QString count = QString::number(m_view->pageCount());
    // Room for the largest page number and the frame's margins.
    const QMargins margins = m_pageField->textMargins() + m_pageField->contentsMargins();
    m_pageField->setFixedWidth(m_pageField->fontMetrics().horizontalAdvance(count + QStringLiteral("00"))
                               + margins.left() + margins.right());
    connect(m_pageField, &QLineEdit::returnPressed, this, &ReportPreview::goToTypedPage);
    auto *total = new QLabel(QStringLiteral(" / ") + count + QLatin1Char(' '), m_toolBar);
    total->setObjectName(QStringLiteral("pageCount"));
    m_toolBar->addWidget(m_pageField);
    m_toolBar->addWidget(total);
}

QWidget *ReportPreview::createZoomBox()
{
    m_zoomBox = new QComboBox(m_toolBar);
    m_zoomBox->setObjectName(QStringLiteral("zoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->setToolTip(QStringLiteral("Zoom"));
    for (int choice : kZoomChoices)
        m_zoomBox->addItem(QStringLiteral("%1%").arg(choice));
    m_zoomBox->setMinimumContentsLength(5);
    // A chosen zoom, or a typed one, which need not be among the choices.
    connect(m_zoomBox, &QComboBox::textActivated, this, &ReportPreview::zoomToTypedFactor);
    connect(m_zoomBox->lineEdit(), &QLineEdit::returnPressed, this, &ReportPreview::zoomToTypedFactor);
    return m_zoomBox;
}

void ReportPreview::showCurrentPage(int number)
{
    m_pageField->setText(QString::number(number));
}

void ReportPreview::showZoom()
{
    m_zoomBox->setEditText(percent(m_view->zoomFactor()));
    m_fitWidth->setChecked(m_view->fit() == PreviewPageView::Fit::Width);
    m_fitPage->setChecked(m_view->fit() == PreviewPageView::Fit::Page);
}

void ReportPreview::goToTypedPage()
{
    m_view->showPage(m_pageField->text().toInt());
    m_view->setFocus();
}

void ReportPreview::zoomToTypedFactor()
{
    bool ok = false;
    const int typed = QString(m_zoomBox->currentText()).remove(QLatin1Char('%')).trimmed().toInt(&ok);
    if (ok && typed > 0)
        m_view->setZoomFactor(typed / 100.0);
    else
        showZoom();
    m_view->setFocus();
}

void ReportPreview::printReport()
{
    QPrintDialog dialog(&m_printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage);
    dialog.setMinMax(1, m_view->pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    int first = 1;
    int last = m_view->pageCount();
    if (m_printer.printRange() == QPrinter::PageRange) {
        first = std::max(first, m_printer.fromPage());
        last = std::min(last, m_printer.toPage());
    } else if (m_printer.printRange() == QPrinter::CurrentPage) {
        first = last = m_view->currentPage();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        paintReportPages(m_printer, m_report, first, last);
        QApplication::restoreOverrideCursor();
        accept();
    } catch (const Error &e) {
        QApplication::restoreOverrideCursor();
        m_prompter.message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
}

void ReportPreview::exportPdf()
{
    Prompter::SaveRequest request;
    request.caption = QStringLiteral("Export to PDF");
    request.filter = QStringLiteral("PDF File (*.pdf)|*.pdf");
    request.defaultExtension = QStringLiteral("pdf");
    request.proposedName = modeCaption(m_report.settings().mode) + QStringLiteral(".pdf");
    const auto path = m_prompter.saveFile(request);
    if (!path)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        writeReportPdf(*path, m_report.settings(), m_report.content(), m_report.header());
        QApplication::restoreOverrideCursor();
    } catch (const Error &e) {
        QApplication::restoreOverrideCursor();
        m_prompter.message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
}

} // namespace qv
