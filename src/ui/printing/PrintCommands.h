#pragma once

#include "printing/PrintDialog.h"

#include <QObject>
#include <QPrinter>

#include <functional>

class QAction;
class QWidget;

namespace qv {

class Prompter;
class RecordStore;
class Settings;
struct ReportContent;
struct ReportHeader;

// The File menu's print commands: the print dialog ("Print &Mode..."), the
// printer setup, the preview and printing of the report of the dialog's
// active page, all on one printer whose settings carry over. The templates
// file lies beside the settings file; the reports carry the owner's name.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    PrintCommands(RecordStore &data, const Settings &settings, Prompter &prompter, QWidget *window);

    QAction *printModeAction() const { return m_printMode; }
    QAction *printSetupAction() const { return m_printSetup; }
    QAction *previewAction() const { return m_preview; }
    QAction *printAction() const { return m_print; }
    QList<QAction *> actions() const { return {m_printMode, m_printSetup, m_preview, m_print}; }

    PrintDialog &dialog() { return m_dialog; }
    void setPrinterCheck(std::function<bool()> check);

    void selectPrintMode();
    void printSetup();
    // Runs the report of the dialog's active page on the printer, or in the
    // preview window; without a printer always in the preview window.
    void runReport(bool preview);

signals:
    // The print dialog moved the entry list's current row.
    void entryMoved();

private:
    void showPreview(const PrintSettings &settings, ReportContent content, const ReportHeader &header,
                     bool printerInstalled);

    RecordStore &m_data;
    const Settings &m_settings;
    Prompter &m_prompter;
    QWidget *m_window;
    QPrinter m_printer;
    PrintDialog m_dialog;
    std::function<bool()> m_hasPrinter;
    QAction *m_printMode;
    QAction *m_printSetup;
    QAction *m_preview;
    QAction *m_print;
};

} // namespace qv
