#include "shell/TMainQVMolk.h"

#include "common/Error.h"
#include "shell/ProgramDirectory.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace qv {

TMainQVMolk::TMainQVMolk(const QString &programDir, QWidget *parent)
    : QMainWindow(parent)
    , m_programDir(programDir)
    , m_prompter(this)
{
    setObjectName(QStringLiteral("TMainQVMolk"));
    FormCreate();
}

TMainQVMolk::~TMainQVMolk() = default;

void TMainQVMolk::FormCreate()
{
    setWindowTitle(QStringLiteral("Quorvel"));
    resize(640, 480);
    createMenus();
    m_dataDir = defaultDataDirectory(m_programDir);
    m_options = std::make_unique<OptionType>(m_programDir + QStringLiteral("aa.ini"));
    m_options->readAll();
    if (!m_options->dataDir.isEmpty())
        m_dataDir = m_options->dataDir;
    else
        m_options->dataDir = m_dataDir; // so that it is written at exit
}

void TMainQVMolk::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    exit->setObjectName(QStringLiteral("Exit1"));
    exit->setShortcut(QKeySequence::Quit);
}

void TMainQVMolk::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainQVMolk::FormShow()
{
    if (m_options->toSaveSize && m_options->formWidth > 0 && m_options->formHeight > 0)
        resize(m_options->formWidth, m_options->formHeight);
}

void TMainQVMolk::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TMainQVMolk::FormCloseQuery()
{
    if (m_options->toSaveSize)
        storeWindowSizes();
    try {
        m_options->writeAll();
    } catch (const Error &e) {
        // The settings would be lost: keep the window open so the user can act.
        m_prompter.message(e.text(), Prompter::Icon::Warning, Prompter::Button::Ok);
        return false;
    }
    return true;
}

void TMainQVMolk::storeWindowSizes()
{
    m_options->windowMax = isMaximized();
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    m_options->formWidth = normal.width();
    m_options->formHeight = normal.height();
}

} // namespace qv
