#include "tools/RecipientGathering.h"

#include "common/Prompter.h"
#include "data/RecordStore.h"

#include <QRegularExpression>

namespace qv {

namespace {

QString firstAddress(const QString &field)
{
    static const QRegularExpression separator(QStringLiteral("[,;]"));
    return field.section(separator, 0, 0).trimmed();
}

QString currentAddress(RecordStore &store, const std::optional<QString> &focusedFieldPiece)
{
    if (focusedFieldPiece)
        return focusedFieldPiece->trimmed();
    if (store.personList.isEmpty())
        return {};
    const QString own = firstAddress(store.personList.text(QStringLiteral("EMail")));
    if (!own.isEmpty())
        return own;
    store.followCurrentPerson();
    return firstAddress(store.organisationList.text(QStringLiteral("CEMail")));
}

void addCurrentEntry(RecipientKind kind, RecordStore &store, const std::optional<QString> &focusedFieldPiece,
                     Prompter &prompter, RecipientList &recipients)
{
    const QString address = currentAddress(store, focusedFieldPiece);
    const QString name = store.personList.isEmpty() ? QString() : store.personList.text(QStringLiteral("Name"));
    if (!address.isEmpty()) {
        recipients.add({kind, name, address});
    } else if (store.personList.isEmpty()) {
        prompter.message(QStringLiteral("Please select an entry."), Prompter::Icon::Plain, Prompter::Button::Ok);
    } else {
        prompter.message(QStringLiteral("Please specify an E-mail address.") + QStringLiteral(" ? ") + name,
                         Prompter::Icon::Plain, Prompter::Button::Ok);
    }
}

} // namespace

void addRecipients(RecipientKind kind, RecordStore &store, const std::vector<int> &markedRows,
                   const std::optional<QString> &focusedFieldPiece, Prompter &prompter, RecipientList &recipients)
{
    TableView &persons = store.personList;
    const Bookmark current = persons.bookmark();
    persons.disableControls();
    store.organisationList.disableControls();
    if (markedRows.empty()) {
        addCurrentEntry(kind, store, focusedFieldPiece, prompter, recipients);
    } else {
        for (const int row : markedRows) {
            persons.setRecNo(row + 1);
            addCurrentEntry(kind, store, focusedFieldPiece, prompter, recipients);
        }
        persons.gotoBookmark(current);
    }
    store.organisationList.enableControls();
    persons.enableControls();
    store.followCurrentPerson();
}

} // namespace qv
