#include "tools/CommunicationTools.h"

#include "common/Prompter.h"
#include "tools/DesktopLink.h"
#include "tools/DialCommand.h"
#include "tools/FocusedTextField.h"
#include "tools/GoUrlCommand.h"
#include "tools/HomePage.h"
#include "tools/MailtoUrl.h"
#include "tools/RecipientGathering.h"
#include "tools/TextViewer.h"

#include <QFileInfo>
#include <QPlainTextEdit>

namespace qv {

CommunicationTools::CommunicationTools(QWidget *window, RecordStore &data, Prompter &prompter,
                                       std::function<std::vector<int>()> markedRows, QString programDir)
    : QObject(window)
    , m_window(window)
    , m_data(data)
    , m_prompter(prompter)
    , m_markedRows(std::move(markedRows))
    , m_programDir(std::move(programDir))
    , m_recipientsDialog(window)
{
}

QWidget *CommunicationTools::activeControl() const
{
    // The window's own: a dialog or menu that has just closed may still hold
    // the application's focus.
    return m_window->focusWidget();
}

void CommunicationTools::dial()
{
    QWidget *focused = activeControl();
    const std::optional<TextFieldState> field = textFieldState(focused);
    if (field && !field->text.isEmpty() && !field->hasSelection())
        selectPiece(focused, pieceAroundCaret(*field)); // shows which number is offered
    const std::optional<QString> number = askNumberToDial(field, m_prompter);
    if (!number)
        return;
    const bool stillInField = textFieldState(activeControl()).has_value();
    if (const std::optional<QUrl> call = callUrl(*number, stillInField, m_prompter))
        openOnDesktop(*call, m_prompter);
}

void CommunicationTools::addRecipients(RecipientKind kind)
{
    QWidget *focused = activeControl();
    const std::optional<TextFieldState> field = textFieldState(focused);
    std::optional<QString> piece;
    if (field && !field->text.isEmpty()) {
        const FieldPiece p = pieceAroundCaret(*field);
        selectPiece(focused, p);
        piece = p.text;
    }
    qv::addRecipients(kind, m_data, m_markedRows(), piece, m_prompter, m_recipients);
}

void CommunicationTools::launchEmail()
{
    if (m_recipients.isEmpty())
        addRecipients(RecipientKind::To);
    if (m_recipients.isEmpty())
        return;
    const RecipientsDialog::Outcome outcome = m_recipientsDialog.ask(m_recipients.byKind());
    const QList<Recipient> &rows = m_recipientsDialog.rows();
    if (outcome == RecipientsDialog::Outcome::Send && !rows.isEmpty()) {
        // Kept when no mail program could start, so the user can try again.
        if (openOnDesktop(QUrl(mailtoUrl(rows), QUrl::StrictMode), m_prompter))
            m_recipients.clear();
        return;
    }
    m_recipients.clear();
    if (outcome == RecipientsDialog::Outcome::More) {
        for (const Recipient &r : rows)
            m_recipients.add(r);
    }
}

void CommunicationTools::goUrl()
{
    if (const std::optional<QUrl> url = urlToOpen(textFieldState(activeControl()), m_prompter))
        openOnDesktop(*url, m_prompter);
}

void CommunicationTools::showMemo(const QPlainTextEdit *memo)
{
    TextViewer viewer(memo->toPlainText(), memo->font(), m_window);
    viewer.exec();
}

void CommunicationTools::openManual()
{
    // The manual in the browser; a text version where the user put one instead.
    for (const QString &name : {QStringLiteral("qvhelp.html"), QStringLiteral("qvhelp.rtf")}) {
        const QString path = m_programDir + name;
        if (QFileInfo::exists(path)) {
            openOnDesktop(QUrl::fromLocalFile(path), m_prompter);
            return;
        }
    }
    m_prompter.message(QStringLiteral("The manual qvhelp.html is missing from %1.").arg(m_programDir),
                       Prompter::Icon::Warning, Prompter::Button::Ok);
}

void CommunicationTools::openHomePage()
{
    openOnDesktop(QUrl(homePageUrl()), m_prompter);
}

} // namespace qv
