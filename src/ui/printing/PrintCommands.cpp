#include "printing/PrintCommands.h"

#include "common/Error.h"
#include "common/Prompter.h"
#include "printing/Printers.h"
#include "printing/ReportPainter.h"
#include "printing/ReportPreview.h"
#include "settings/Settings.h"
#include "shell/OwnerName.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPrintDialog>
#include <QPushButton>

namespace qv {

namespace {

QAction *command(const QString &caption, const QString &hint, const QKeySequence &shortcut, QObject *parent)
{
    auto *action = new QAction(caption, parent);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

PrintCommands::PrintCommands(RecordStore &data, const Settings &settings, Prompter &prompter, QWidget *window)
    : QObject(window)
    , m_data(data)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_window(window)
    , m_dialog(data, prompter, window)
    , m_hasPrinter(printerInstalled)
{
    m_printMode = command(QStringLiteral("Print &Mode..."), QStringLiteral("Select a print template"),
                          QKeySequence(Qt::CTRL | Qt::Key_M), this);
    m_printSetup = command(QStringLiteral("Print Set&up..."), QStringLiteral("Change the printer options"), {}, this);
    m_preview = command(QStringLiteral("Print Pre&view"),
                        QStringLiteral("Display view of address book as it will be printed"), {}, this);
    m_print = command(QStringLiteral("&Print"), QStringLiteral("Print the address book"),
                      QKeySequence(Qt::CTRL | Qt::Key_P), this);
    m_printMode->setObjectName(QStringLiteral("printMode"));
    m_printSetup->setObjectName(QStringLiteral("printSetup"));
    m_preview->setObjectName(QStringLiteral("printPreview"));
    m_print->setObjectName(QStringLiteral("print"));
    connect(m_printMode, &QAction::triggered, this, &PrintCommands::selectPrintMode);
    connect(m_printSetup, &QAction::triggered, this, &PrintCommands::printSetup);
    connect(m_preview, &QAction::triggered, this, [this] { runReport(true); });
    connect(m_print, &QAction::triggered, this, [this] { runReport(false); });
    connect(&m_dialog, &PrintDialog::entryMoved, this, &PrintCommands::entryMoved);
    m_dialog.prepare(settings.settingsDirectory() + QStringLiteral("pt.ini"));
}

void PrintCommands::setPrinterCheck(std::function<bool()> check)
{
    m_hasPrinter = check;
    m_dialog.setPrinterCheck(std::move(check));
}

void PrintCommands::selectPrintMode()
{
    m_dialog.exec();
    if (m_dialog.action() != PrintDialog::Action::Cancel)
        runReport(m_dialog.action() == PrintDialog::Action::Preview);
}

void PrintCommands::printSetup()
{
    // The printer and its options are chosen here and kept; printing comes later.
    QPrintDialog dialog(&m_printer, m_window);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("&OK"));
    }
    dialog.exec();
}

void PrintCommands::runReport(bool preview)
{
    const bool printerInstalled = m_hasPrinter();
    if (!printerInstalled) {
        m_prompter.message(QStringLiteral("You don't have a printer."), Prompter::Icon::Plain, Prompter::Button::Ok);
        preview = true;
    }
    const PrintSettings settings = m_dialog.capturedSettings();
    const ReportHeader header =
        reportHeader(ownerName(m_settings), QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    std::optional<ReportContent> content = prepareReport(m_data, settings.mode, m_prompter);
    if (!content)
        return;
    m_printer.setDocName(printJobName(settings.mode));
    m_printer.setFullPage(true);
    prepareReportPage(m_printer);
    if (preview) {
        showPreview(settings, std::move(*content), header, printerInstalled);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        paintReport(m_printer, settings, *content, header);
    } catch (const Error &e) {
        m_prompter.message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
    QApplication::restoreOverrideCursor();
}

void PrintCommands::showPreview(const PrintSettings &settings, ReportContent content, const ReportHeader &header,
                                bool printerInstalled)
{
    ReportPreview preview(PagedReport(settings, std::move(content), header), m_printer, printerInstalled, m_prompter,
                          m_window);
    preview.exec();
}

} // namespace qv
