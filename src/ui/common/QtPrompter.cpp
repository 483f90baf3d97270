#include "common/QtPrompter.h"

#include "data/PasswordDialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace qv {

namespace {

QMessageBox::Icon toQtIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Confirmation: return QMessageBox::Question;
    case Prompter::Icon::Plain: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

struct ButtonPair {
    Prompter::Button ours;
    QMessageBox::StandardButton qt;
};

constexpr ButtonPair kButtons[] = {
    {Prompter::Button::Ok, QMessageBox::Ok},         {Prompter::Button::Yes, QMessageBox::Yes},
    {Prompter::Button::No, QMessageBox::No},         {Prompter::Button::Cancel, QMessageBox::Cancel},
    {Prompter::Button::Abort, QMessageBox::Abort},
};

} // namespace

QString QtPrompter::toQtFilter(const QString &filter)
{
    // Qt reads the patterns from the parentheses of the description, separated
    // by spaces: they are taken from the second part, where ";" separates them.
    const QStringList pieces = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i < pieces.size(); i += 2) {
        QString description = pieces[i];
        if (i + 1 < pieces.size()) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            description = (open > 0 ? description.left(open).trimmed() : description) + QStringLiteral(" (")
                + pieces[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')) + QLatin1Char(')');
        }
        descriptions << description;
    }
    return descriptions.join(QStringLiteral(";;"));
}

Prompter::Button QtPrompter::message(const QString &text, Icon icon, Buttons buttons)
{
    QMessageBox box(toQtIcon(icon), QStringLiteral("Quorvel"), text, QMessageBox::NoButton, m_parent);
    Button last = Button::Ok;
    QMessageBox::StandardButton lastQt = QMessageBox::Ok;
    for (const ButtonPair &b : kButtons) {
        if (buttons.testFlag(b.ours)) {
            box.addButton(b.qt);
            last = b.ours;
            lastQt = b.qt;
        }
    }
    if (box.buttons().isEmpty())
        box.addButton(QMessageBox::Ok);
    // Esc and the close box answer Cancel where it is offered, else the last button.
    box.setEscapeButton(buttons.testFlag(Button::Cancel) ? QMessageBox::Cancel : lastQt);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonPair &b : kButtons) {
        if (b.qt == pressed)
            return b.ours;
    }
    return buttons.testFlag(Button::Cancel) ? Button::Cancel : last;
}

std::optional<QString> QtPrompter::input(const QString &caption, const QString &prompt, const QString &initialText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, initialText, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> QtPrompter::password(const QString &prompt)
{
    PasswordDialog dialog(m_parent);
    return dialog.ask(prompt);
}

std::optional<QString> QtPrompter::openFile(const OpenRequest &request)
{
    const QString path = QFileDialog::getOpenFileName(m_parent, request.caption, request.startDirectory,
                                                      toQtFilter(request.filter));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> QtPrompter::saveFile(const SaveRequest &request)
{
    QFileDialog dialog(m_parent, request.caption, request.startDirectory, toQtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex && *request.filterIndex >= 0 && *request.filterIndex < filters.size())
        dialog.selectNameFilter(filters[*request.filterIndex]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (request.filterIndex)
        *request.filterIndex = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtPrompter::chooseFolder(const QString &caption, const QString &startDirectory)
{
    const QString dir = QFileDialog::getExistingDirectory(m_parent, caption, startDirectory);
    return dir.isEmpty() ? std::nullopt : std::optional<QString>(dir);
}

} // namespace qv
