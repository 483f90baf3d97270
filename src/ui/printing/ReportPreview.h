#pragma once

#include "printing/PagedReport.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLineEdit;
class QPrinter;
class QToolBar;

namespace qv {

class PreviewPageView;
class Prompter;

// The print preview: the report's pages drawn as they come into view, with
// page navigation, zoom, printing on the chosen printer and export to PDF.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // Without a printer, printing is offered but disabled.
    ReportPreview(PagedReport report, QPrinter &printer, bool printerInstalled, Prompter &prompter,
                  QWidget *parent = nullptr);

    PreviewPageView *pageView() const { return m_view; }
    const PagedReport &report() const { return m_report; }

private:
    QAction *addCommand(const QString &text, const char *name, const char *icon, const QKeySequence &shortcut);
    void createToolBar(bool printerInstalled);
    void addPageField();
    QWidget *createZoomBox();
    void showCurrentPage(int number);
    void showZoom();
    void goToTypedPage();
    void zoomToTypedFactor();
    void printReport();
    void exportPdf();

    PagedReport m_report;
    QPrinter &m_printer;
    Prompter &m_prompter;
    PreviewPageView *m_view;
    QToolBar *m_toolBar;
    QLineEdit *m_pageField = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QAction *m_fitWidth = nullptr;
    QAction *m_fitPage = nullptr;
};

} // namespace qv
