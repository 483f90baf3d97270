#include "editing/EntryEditSession.h"

#include "common/Prompter.h"
#include "data/TableView.h"
#include "editing/EditModel.h"
#include "navigation/CategoryTreeModel.h"

namespace qv {

namespace {

const QStringList kSlots = {QStringLiteral("Group1"), QStringLiteral("Group2"), QStringLiteral("Group3"), QStringLiteral("Group4")};

bool isZeroOrNull(const Value &v)
{
    return isNull(v) || v == Value(qint32(0));
}

} // namespace

EntryEditSession::EntryEditSession(EditModel &editModel, TableView &personLookup, Prompter &prompter)
    : m_edit(editModel)
    , m_personLookup(personLookup)
    , m_prompter(prompter)
{
}

void EntryEditSession::begin()
{
    m_open = true;
    m_nameChanged = false;
    m_partsChanged = false;
    m_adding = m_edit.editState() == EditModel::Adding;
    TableView &persons = m_edit.persons();
    for (int k = 0; k < 4; ++k) {
        if (m_adding) {
            m_slots[size_t(k)] = 0;
            persons.setValue(kSlots[k], qint32(1000));
        } else {
            // An empty slot, or a category the tree does not hold, shows as empty.
            const Value number = persons.value(kSlots[k]);
            m_slots[size_t(k)] = isNull(number) ? 0 : std::max(0, m_edit.tree().indexOfNumber(std::get<qint32>(number)));
        }
    }
    if (m_adding)
        persons.setValue(QStringLiteral("Yellow"), false);
}

bool EntryEditSession::isYellowPage() const
{
    return m_edit.persons().value(QStringLiteral("Yellow")) == Value(true);
}

QString EntryEditSession::organisationName() const
{
    TableView &organisations = m_edit.organisations();
    // A new entry belongs to the default organisation; a book without one shows no name.
    if (m_adding && organisations.value(QStringLiteral("CoID")) != Value(qint32(0)))
        return {};
    return organisations.text(QStringLiteral("Company"));
}

bool EntryEditSession::leaveName(QString &text)
{
    if (!m_nameChanged || isYellowPage())
        return true;
    return nameStep(text);
}

void EntryEditSession::namePartsConfirmed()
{
    m_partsChanged = true;
    m_nameChanged = true;
}

bool EntryEditSession::nameStep(QString &text)
{
    const NameCuts cuts = m_edit.applyNameStep(text, m_nameChanged, m_partsChanged);
    TableView &persons = m_edit.persons();
    if (persons.state() == TableView::State::Browse)
        persons.edit();
    persons.setValue(QStringLiteral("Name"), text);
    if (!cuts.isEmpty())
        m_prompter.message(nameCutWarning(cuts), Prompter::Icon::Warning, Prompter::Button::Ok);
    // The entry being added is not stored yet and never finds itself; an
    // edited one is found under its stored name. A blank name has no namesakes.
    if (text.trimmed().isEmpty() || m_names.rowsEqualTo(m_personLookup, text).empty())
        return true;
    const Prompter::Button answer =
        m_prompter.message(QStringLiteral("Entries with the same name in the address book. Would you review them?"),
                           Prompter::Icon::Information, Prompter::Button::Yes | Prompter::Button::No);
    if (answer != Prompter::Button::Yes)
        return true;
    m_edit.setEditState(EditModel::ReviewDuplicates);
    m_edit.rollBack();
    m_open = false;
    return false;
}

void EntryEditSession::linkOrganisation(const QString &name)
{
    // Names are not unique: looked up again, the name of the organisation
    // linked could find another one of that name first.
    if (!isLinkedTo(name))
        m_edit.setOrganisationByName(name);
}

bool EntryEditSession::isLinkedTo(const QString &name) const
{
    TableView &organisations = m_edit.organisations();
    return !name.trimmed().isEmpty() && !organisations.isEmpty() && organisations.text(QStringLiteral("Company")) == name
        && organisations.value(QStringLiteral("CoID")) == m_edit.persons().value(QStringLiteral("OrgID"));
}

void EntryEditSession::pickCategory(int slot, int index)
{
    for (int k = 1; k <= 4; ++k) {
        if (k != slot && index != 0 && slotIndex(k) == index)
            index = 0;
    }
    m_slots[size_t(slot - 1)] = index;
}

QString EntryEditSession::slotPath(int slot) const
{
    const QStringList &paths = m_edit.tree().categoryPaths();
    const int index = slotIndex(slot);
    return index < paths.size() ? paths[index] : QString();
}

void EntryEditSession::makeYellowPage(const QString &organisationText)
{
    TableView &persons = m_edit.persons();
    if (persons.state() == TableView::State::Browse)
        persons.edit();
    persons.setValue(QStringLiteral("Name"), organisationText);
    persons.setValue(QStringLiteral("SurName"), organisationText);
    persons.setValue(QStringLiteral("GivenName"), QString());
    persons.setValue(QStringLiteral("MidName"), QString());
    persons.setValue(QStringLiteral("Yellow"), true);
}

void EntryEditSession::finish(bool addNext, QString &nameText, const QString &organisationText)
{
    if (m_nameChanged && (addNext || !isYellowPage()) && !nameStep(nameText))
        return;
    TableView &persons = m_edit.persons();
    if (nameText.trimmed().isEmpty() || isYellowPage()) {
        // Neither a name nor an organisation: nothing worth keeping.
        if (isZeroOrNull(persons.value(QStringLiteral("OrgID")))) {
            cancel();
            return;
        }
        makeYellowPage(organisationText);
    }
    if (isYellowPage())
        m_edit.setHasYellowEntries(true);
    else
        m_edit.addInitial(persons.text(QStringLiteral("SurName")));
    // Slots keep the order the user gave them, gaps included; an empty one holds 1000.
    for (int k = 1; k <= 4; ++k)
        m_edit.setCategorySlot(k, slotIndex(k) == 0 ? 1000 : m_edit.tree().numberAt(slotIndex(k)));
    m_edit.commitEdit();
    m_edit.setOrgState(EditModel::OrgIdle);
    m_edit.setEditState(addNext ? EditModel::AddNext : EditModel::Closed);
    m_open = false;
}

void EntryEditSession::cancel()
{
    m_edit.rollBack();
    m_edit.setEditState(EditModel::Cancelled);
    m_open = false;
    // The rollback moves the person view, and the organisation view follows its current person.
}

} // namespace qv
