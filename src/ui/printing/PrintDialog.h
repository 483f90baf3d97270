#pragma once

#include "printing/PrintTemplates.h"
#include "printing/SamplePage.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QTabWidget;

namespace qv {

class Prompter;
class RecordStore;

// The print dialog: the print mode's pages with live samples of the current
// entry, the templates of each mode with Save, Save As and Delete, the
// choice of fonts for the fields, and the way it was closed.
class PrintDialog : public QDialog {
    Q_OBJECT
public:
    enum class Action { Cancel, Preview, Print };
    // Shows the font dialog for a font; scalable fonts only when there is no printer.
    using FontChooser = std::function<std::optional<FieldFont>(const FieldFont &initial, bool scalableOnly)>;

    PrintDialog(RecordStore &data, Prompter &prompter, QWidget *parent = nullptr);

    // Reads the templates file and shows the page last saved with its selected template.
    void prepare(const QString &templatesPath);
    Action action() const { return m_action; }
    // The print settings with the active page copied in, as a report reads them.
    const PrintSettings &capturedSettings();
    // Shows the current entry in the samples.
    void refreshSamples();

    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }
    void setPrinterCheck(std::function<bool()> check) { m_hasPrinter = std::move(check); }
    SamplePage *page(int index) const { return m_samplePages[size_t(index)]; }
    int activePage() const;
    void setActivePage(int index);
    QComboBox *templateBox() const { return m_templates; }

signals:
    // The navigation buttons moved the entry list's current row.
    void entryMoved();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *createNavigation();
    QWidget *createTemplateRow();
    QWidget *createFontRow();
    QWidget *createButtons();
    SamplePage *activeSamplePage() const;
    PrintMode shownMode() const;
    void loadMode(int page);
    void fillTemplateBox();
    void chooseTemplate(int index);
    void showSettings();
    void saveTemplate();
    void saveTemplateAs();
    void deleteTemplate();
    void runTemplateCommand(const std::function<void()> &command);
    void choosePrinterFont();
    void setFieldFont(PrintField field);
    void move(void (*step)(RecordStore &));
    void close(Action action);

    RecordStore &m_data;
    Prompter &m_prompter;
    PrintTemplates m_file;
    TemplateList m_list;
    PrintSettings m_settings;
    Action m_action = Action::Cancel;
    std::optional<FieldFont> m_chosenFont; // set: a field click takes it
    FontChooser m_chooseFont;
    std::function<bool()> m_hasPrinter;

    QTabWidget *m_pages = nullptr;
    std::array<SamplePage *, kPrintModeCount> m_samplePages{};
    QComboBox *m_templates = nullptr;
    QLabel *m_fontSample = nullptr;
};

} // namespace qv
