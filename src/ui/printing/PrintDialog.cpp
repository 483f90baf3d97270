#include "printing/PrintDialog.h"

#include "common/Error.h"
#include "common/Hint.h"
#include "common/LayoutScale.h"
#include "common/Prompter.h"
#include "data/RecordStore.h"
#include "printing/FieldSample.h"
#include "printing/PrinterFontDialog.h"
#include "printing/Printers.h"
#include "printing/ReportPainter.h"
#include "printing/TemplateCommands.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

EntryTexts currentEntry(RecordStore &data)
{
    EntryTexts texts;
    if (data.personList.isEmpty())
        return texts;
    for (PrintField field : allPrintFields()) {
        TableView &view = isOrganisationField(field) ? data.organisationList : data.personList;
        if (!view.isEmpty())
            texts[size_t(field)] = view.text(printFieldColumn(field));
    }
    return texts;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

PrintDialog::PrintDialog(RecordStore &data, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_data(data)
    , m_prompter(prompter)
    , m_chooseFont([this](const FieldFont &initial, bool scalableOnly) {
        return PrinterFontDialog::choose(initial, scalableOnly, this);
    })
    , m_hasPrinter(printerInstalled)
{
    setObjectName(QStringLiteral("printDialog"));
    setWindowTitle(QStringLiteral("Print"));
    const LayoutScale px = LayoutScale::ofApplication();
    m_pages = new QTabWidget(this);
    for (int i = 0; i < kPrintModeCount; ++i) {
        const PrintMode mode = modeOfPage(i);
        m_samplePages[size_t(i)] = new SamplePage(mode, px(520), m_pages);
        connect(m_samplePages[size_t(i)], &SamplePage::fieldClicked, this, &PrintDialog::setFieldFont);
        m_pages->addTab(m_samplePages[size_t(i)], modeCaption(mode));
    }
    connect(m_pages, &QTabWidget::currentChanged, this, &PrintDialog::loadMode);

    auto *left = new QVBoxLayout;
    left->addWidget(m_pages);
    left->addWidget(createNavigation());
    left->addWidget(createTemplateRow());
    left->addWidget(createFontRow());
    auto *main = new QHBoxLayout(this);
    main->addLayout(left);
    main->addWidget(createButtons(), 0, Qt::AlignTop);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget *PrintDialog::createNavigation()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(heading(QStringLiteral("Select an example:"), box));
    const struct {
        const char *name;
        QStyle::StandardPixmap icon;
        void (*step)(RecordStore &);
    } buttons[] = {
        {"First", QStyle::SP_MediaSkipBackward, [](RecordStore &d) { d.personList.first(); }},
        {"Previous", QStyle::SP_MediaSeekBackward, [](RecordStore &d) { d.personList.prior(); }},
        {"Next", QStyle::SP_MediaSeekForward, [](RecordStore &d) { d.personList.next(); }},
        {"Last", QStyle::SP_MediaSkipForward, [](RecordStore &d) { d.personList.last(); }},
    };
    for (const auto &b : buttons) {
        auto *button = new QToolButton(box);
        button->setObjectName(QString::fromLatin1(b.name).toLower());
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolTip(QString::fromLatin1(b.name));
        button->setAccessibleName(QString::fromLatin1(b.name));
        connect(button, &QToolButton::clicked, this, [this, step = b.step] { move(step); });
        row->addWidget(button);
    }
    row->addStretch(1);
    return box;
}

QWidget *PrintDialog::createTemplateRow()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(heading(QStringLiteral("Templates:"), box));
    m_templates = new QComboBox(box);
    m_templates->setObjectName(QStringLiteral("templates"));
    m_templates->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_templates->setMinimumContentsLength(20);
    connect(m_templates, &QComboBox::activated, this, &PrintDialog::chooseTemplate);
    row->addWidget(m_templates, 1);
    const struct {
        const char *caption;
        const char *name;
        void (PrintDialog::*run)();
    } buttons[] = {
        {"&Save", "save", &PrintDialog::saveTemplate},
        {"Save &As", "saveAs", &PrintDialog::saveTemplateAs},
        {"&Delete", "delete", &PrintDialog::deleteTemplate},
    };
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), box);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.run);
        row->addWidget(button);
    }
    return box;
}

QWidget *PrintDialog::createFontRow()
{
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(heading(QStringLiteral("Font definition:"), box));
    m_fontSample = new QLabel(QStringLiteral("QWER qwer"), box);
    m_fontSample->setObjectName(QStringLiteral("fontSample"));
    m_fontSample->setFrameShape(QFrame::StyledPanel);
    m_fontSample->setMinimumWidth(LayoutScale::ofApplication()(160));
    row->addWidget(m_fontSample, 1);
    auto *fonts = new QPushButton(QStringLiteral("Printer &Fonts"), box);
    fonts->setObjectName(QStringLiteral("printerFonts"));
    fonts->setAutoDefault(false);
    setHint(fonts, QStringLiteral("Choose a font,\r\nthen click on any field above to deinfine the font of a field."));
    connect(fonts, &QPushButton::clicked, this, &PrintDialog::choosePrinterFont);
    row->addWidget(fonts);
    return box;
}

QWidget *PrintDialog::createButtons()
{
    auto *box = new QWidget(this);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto *preview = new QPushButton(QStringLiteral("Print Pre&view"), box);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setAutoDefault(false);
    connect(preview, &QPushButton::clicked, this, [this] { close(Action::Preview); });
    auto *print = new QPushButton(QStringLiteral("&Print"), box);
    print->setObjectName(QStringLiteral("print"));
    print->setDefault(true);
    connect(print, &QPushButton::clicked, this, [this] { close(Action::Print); });
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), box);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [this] { close(Action::Cancel); });
    for (QPushButton *b : {preview, print, cancel})
        column->addWidget(b);
    return box;
}

void PrintDialog::prepare(const QString &templatesPath)
{
    m_file = PrintTemplates::load(templatesPath);
    const int page = m_file.selectedPage();
    const QSignalBlocker block(m_pages);
    m_pages->setCurrentIndex(page);
    loadMode(page);
}

int PrintDialog::activePage() const
{
    return m_pages->currentIndex();
}

void PrintDialog::setActivePage(int index)
{
    m_pages->setCurrentIndex(index);
}

SamplePage *PrintDialog::activeSamplePage() const
{
    return m_samplePages[size_t(activePage())];
}

PrintMode PrintDialog::shownMode() const
{
    return modeOfPage(activePage());
}

void PrintDialog::loadMode(int page)
{
    m_list = m_file.templateList(modeOfPage(page));
    fillTemplateBox();
    if (!m_list.names.isEmpty()) {
        m_file.loadTemplate(m_list.selected, m_settings);
        showSettings();
    }
}

void PrintDialog::fillTemplateBox()
{
    m_templates->clear();
    m_templates->addItems(m_list.names);
    m_templates->setCurrentIndex(int(m_list.names.indexOf(m_list.selected)));
}

void PrintDialog::chooseTemplate(int index)
{
    m_list.selected = m_list.names.value(index);
    m_file.loadTemplate(m_list.selected, m_settings);
    showSettings();
}

void PrintDialog::showSettings()
{
    activeSamplePage()->showTemplate(m_settings);
}

const PrintSettings &PrintDialog::capturedSettings()
{
    activeSamplePage()->capture(m_settings);
    return m_settings;
}

void PrintDialog::runTemplateCommand(const std::function<void()> &command)
{
    try {
        command();
    } catch (const Error &e) {
        m_prompter.message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
    }
    fillTemplateBox();
}

void PrintDialog::saveTemplate()
{
    // Nothing chosen to save over: saving is saving under a new name.
    if (m_templates->currentIndex() < 0) {
        saveTemplateAs();
        return;
    }
    capturedSettings();
    runTemplateCommand([this] { templates::save(m_file, shownMode(), m_list, m_templates->currentText(), m_settings); });
}

void PrintDialog::saveTemplateAs()
{
    capturedSettings();
    runTemplateCommand([this] { templates::saveAs(m_file, shownMode(), m_list, m_settings, m_prompter); });
}

void PrintDialog::deleteTemplate()
{
    runTemplateCommand([this] {
        if (templates::remove(m_file, shownMode(), m_list, m_settings, m_prompter))
            showSettings();
    });
}

void PrintDialog::choosePrinterFont()
{
    const bool printer = m_hasPrinter();
    if (!printer)
        m_prompter.message(QStringLiteral("You don't have a printer, you may select true type fonts only."),
                           Prompter::Icon::Plain, Prompter::Button::Ok);
    m_chosenFont = m_chooseFont(m_chosenFont.value_or(FieldFont()), !printer);
    if (!m_chosenFont)
        return;
    m_fontSample->setFont(reportFont(ReportFont{m_chosenFont->name, m_chosenFont->size}));
    QPalette p = m_fontSample->palette();
    p.setColor(QPalette::WindowText, reportColor(m_chosenFont->color));
    m_fontSample->setPalette(p);
}

void PrintDialog::setFieldFont(PrintField field)
{
    if (!m_chosenFont)
        return;
    const QFontMetrics metrics(reportFont(ReportFont{m_chosenFont->name, m_chosenFont->size}));
    activeSamplePage()->setFieldFont(field, *m_chosenFont, metrics.height() + 2);
}

void PrintDialog::move(void (*step)(RecordStore &))
{
    step(m_data);
    refreshSamples();
    emit entryMoved();
}

void PrintDialog::refreshSamples()
{
    const EntryTexts texts = currentEntry(m_data);
    for (SamplePage *page : m_samplePages)
        page->showEntry(texts);
}

void PrintDialog::showEvent(QShowEvent *event)
{
    m_action = Action::Cancel; // also what Esc leaves
    refreshSamples();
    QDialog::showEvent(event);
}

void PrintDialog::close(Action action)
{
    m_action = action;
    if (action == Action::Cancel)
        reject();
    else
        accept();
}

} // namespace qv
