#include "editing/EditModel.h"

#include "data/DatabaseError.h"
#include "data/QuietView.h"
#include "data/RecordTable.h"
#include "data/TableView.h"
#include "navigation/CategoryTreeModel.h"

#include <QCollator>
#include <QLocale>

#include <unordered_set>
#include <vector>

namespace qv {

namespace {

const QStringList kNameFields = {QStringLiteral("SurName"), QStringLiteral("GivenName"), QStringLiteral("MidName")};
const QStringList kSlots = {QStringLiteral("Group1"), QStringLiteral("Group2"), QStringLiteral("Group3"), QStringLiteral("Group4")};

int largest(TableView &view, const QString &field)
{
    const RecordTable &table = *view.table();
    const int f = table.fieldIndex(field);
    qint64 highest = 2000;
    for (int row = 0; f >= 0 && row < table.rowSlots(); ++row) {
        const qint64 v = table.column(f).numbers[size_t(row)];
        if (table.isAlive(row) && v != Column::kNullNumber)
            highest = std::max(highest, v);
    }
    return int(highest);
}

} // namespace

void EditModel::scanPersonTable(TableView &persons)
{
    m_persons = &persons;
    m_highestClientId = largest(persons, QStringLiteral("ClientID"));
}

void EditModel::scanOrganisationTable(TableView &organisations)
{
    m_organisations = &organisations;
    m_highestCoId = largest(organisations, QStringLiteral("CoID"));
}

void EditModel::recordCounters()
{
    m_personCounter = m_persons->changeCount();
    m_organisationCounter = m_organisations->changeCount();
}

void EditModel::openPerson()
{
    if (m_persons->state() == TableView::State::Browse)
        m_persons->edit();
}

void EditModel::addPerson()
{
    recordCounters();
    m_editState = Adding;
    m_persons->append();
    m_organisations->locate(QStringLiteral("CoID"), qint32(0));
    m_persons->setValue(QStringLiteral("ClientID"), qint32(++m_highestClientId));
    m_persons->setValue(QStringLiteral("OrgID"), qint32(0));
    m_persons->setValue(QStringLiteral("Yellow"), false);
}

void EditModel::editPerson(int position)
{
    m_editState = Editing;
    recordCounters();
    m_persons->setRecNo(position);
    const Value orgId = m_persons->value(QStringLiteral("OrgID"));
    if (!isNull(orgId))
        m_organisations->locate(QStringLiteral("CoID"), orgId);
    m_persons->edit();
    if (!m_organisations->isEmpty())
        m_organisations->edit();
}

void EditModel::commitEdit()
{
    if (m_editState == Adding)
        m_persons->post();
    if (m_orgState == OrgAppended)
        m_organisations->post();
}

void EditModel::rollBack()
{
    m_persons->rollbackTo(m_personCounter);
    m_organisations->rollbackTo(m_organisationCounter);
}

int EditModel::appendOrganisation(const QString &name)
{
    m_organisations->append();
    const int coId = ++m_highestCoId;
    m_organisations->setValue(QStringLiteral("CoID"), qint32(coId));
    m_organisations->setValue(QStringLiteral("Company"), name);
    m_orgState = OrgAppended;
    return coId;
}

EditModel::OrgLink EditModel::setOrganisationByName(const QString &name)
{
    if (name.trimmed().isEmpty()) {
        openPerson();
        m_persons->setValue(QStringLiteral("OrgID"), qint32(0));
        return OrgBlank;
    }
    m_organisations->post(); // a name just typed into the open row counts, as a locate would see it
    const int match = m_companies.firstInView(*m_organisations, name);
    if (match >= 0 && m_organisations->gotoBookmark({m_organisations->table(), match})) {
        const Value coId = m_organisations->value(QStringLiteral("CoID"));
        openPerson();
        m_persons->setValue(QStringLiteral("OrgID"), coId);
        return OrgFound;
    }
    // Posting the new organisation may move the person view's cursor: keep the person open across it.
    openPerson();
    const int coId = appendOrganisation(name);
    m_persons->setValue(QStringLiteral("OrgID"), qint32(coId));
    m_organisations->post(); // at once, so that lookups list it
    m_organisations->edit();
    m_orgState = OrgEditing;
    return OrgCreated;
}

NameCuts EditModel::applyNameStep(QString &name, bool &nameChanged, bool &fieldsChanged)
{
    NameCuts cuts;
    const bool stepMakesName = nameChanged || fieldsChanged;
    if (nameChanged && !fieldsChanged) {
        const NameFields fields = splitName(name, m_compoundSurnames);
        name = keptName(name, fields);
        openPerson();
        writeNameField(*m_persons, QStringLiteral("GivenName"), fields.givenName, cuts);
        writeNameField(*m_persons, QStringLiteral("MidName"), fields.midName, cuts);
        writeNameField(*m_persons, QStringLiteral("SurName"), fields.surName, cuts);
    } else if (fieldsChanged) {
        // A missing part is written as an empty text, so the row holds what the composed name shows.
        for (const QString &field : kNameFields) {
            if (isNull(m_persons->value(field))) {
                openPerson();
                m_persons->setValue(field, QStringLiteral(""));
            }
        }
        name = composeName(m_persons->text(kNameFields[0]), m_persons->text(kNameFields[1]), m_persons->text(kNameFields[2]));
        fieldsChanged = false;
    }
    // What Name will hold, so that the entries of this name can be found again.
    if (stepMakesName)
        name = fitNameField(*m_persons, QStringLiteral("Name"), name, cuts);
    m_lastComposedName = name;
    nameChanged = false;
    return cuts;
}

bool EditModel::setCategorySlot(int slot, int number)
{
    openPerson();
    if (slot >= 1 && slot <= 4)
        m_persons->setValue(kSlots[slot - 1], qint32(number));
    return true;
}

bool EditModel::addToCategory(int number)
{
    openPerson();
    if (number == 1000)
        return true;
    for (const QString &slot : kSlots) {
        if (m_persons->value(slot) == Value(qint32(number)))
            return false;
    }
    for (const QString &slot : kSlots) {
        if (m_persons->value(slot) == Value(qint32(1000))) {
            m_persons->setValue(slot, qint32(number));
            return true;
        }
    }
    return false; // four categories already (an empty slot counts as taken)
}

bool EditModel::removeFromCategory(int number)
{
    openPerson();
    for (const QString &slot : kSlots) {
        if (m_persons->value(slot) == Value(qint32(number))) {
            m_persons->setValue(slot, qint32(1000));
            break;
        }
    }
    return true;
}

std::vector<int> EditModel::rowIdsOf(const std::vector<int> &positions) const
{
    // Positions shift as rows change; the row ids stay.
    const std::vector<int> &rows = m_persons->rows();
    std::vector<int> ids;
    for (int p : positions) {
        if (p >= 0 && p < int(rows.size()))
            ids.push_back(rows[size_t(p)]);
    }
    return ids;
}

bool EditModel::removeSelectionFromCategory(int number, const std::vector<int> &marks)
{
    QuietView quiet(*m_persons);
    for (int row : rowIdsOf(marks)) {
        if (!m_persons->gotoBookmark({m_persons->table(), row}))
            continue;
        removeFromCategory(number);
        m_persons->post();
    }
    return true;
}

bool EditModel::deleteCategoryIfEmpty(CategoryNode *node)
{
    if (!node || !node->children.empty())
        return false;
    const RecordTable &table = *m_persons->table();
    for (const QString &slot : kSlots) {
        const Column &c = table.column(table.fieldIndex(slot));
        for (int row = 0; row < table.rowSlots(); ++row) {
            if (table.isAlive(row) && c.numbers[size_t(row)] == node->number)
                return false;
        }
    }
    return m_tree.removeCategory(node);
}

bool EditModel::deleteCurrent()
{
    try {
        m_persons->remove();
        m_persons->first();
        return true;
    } catch (const DatabaseError &) {
        return false;
    }
}

bool EditModel::deleteSelected(const std::vector<int> &marks)
{
    try {
        QuietView quiet(*m_persons);
        for (int row : rowIdsOf(marks)) {
            if (m_persons->gotoBookmark({m_persons->table(), row}))
                m_persons->remove();
        }
        m_persons->first();
        return true;
    } catch (const DatabaseError &) {
        return false;
    }
}

const std::vector<int> &EditModel::findIsolatedOrganisations()
{
    m_isolated.clear();
    // Whole tables, whatever the views' filters: a person hidden by the list still uses its organisation.
    const RecordTable &persons = *m_persons->table();
    const RecordTable &organisations = *m_organisations->table();
    const Column &orgId = persons.column(persons.fieldIndex(QStringLiteral("OrgID")));
    std::unordered_set<qint64> used;
    for (int row = 0; row < persons.rowSlots(); ++row) {
        if (persons.isAlive(row))
            used.insert(orgId.numbers[size_t(row)]);
    }
    const Column &coId = organisations.column(organisations.fieldIndex(QStringLiteral("CoID")));
    for (int row = 0; row < organisations.rowSlots(); ++row) {
        const qint64 id = coId.numbers[size_t(row)];
        if (organisations.isAlive(row) && id != 0 && !used.count(id))
            m_isolated.push_back(row);
    }
    return m_isolated;
}

bool EditModel::deleteIsolatedOrganisations()
{
    QuietView quiet(*m_organisations);
    RecordTable &table = *m_organisations->table();
    for (int row : m_isolated) {
        if (table.isAlive(row))
            table.deleteRow(row);
    }
    m_isolated.clear();
    return true;
}

void EditModel::insertInitial(const QString &initial)
{
    static const QCollator collator = [] {
        QCollator c{QLocale::system()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    // 'É' and 'é' are one initial whatever the locale's collation says: the first one met stays.
    const QString folded = initial.toCaseFolded();
    if (m_foldedInitials.contains(folded))
        return;
    m_foldedInitials.insert(folded);
    const auto pos = std::lower_bound(m_initials.begin(), m_initials.end(), initial,
                                      [](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    m_initials.insert(pos, initial);
}

bool EditModel::scanInitials()
{
    m_initials.clear();
    m_foldedInitials.clear();
    m_hasYellowEntries = false;
    const RecordTable &table = *m_persons->table();
    const Column &yellow = table.column(table.fieldIndex(QStringLiteral("Yellow")));
    const Column &surname = table.column(table.fieldIndex(QStringLiteral("SurName")));
    // A surname starting with a character of one code unit that is not a
    // blank has the initial of that unit alone: each such unit is looked at
    // once, not once per entry.
    std::vector<bool> seenFirstUnits(size_t(1) << 16);
    for (int row = 0; row < table.rowSlots(); ++row) {
        if (!table.isAlive(row))
            continue;
        if (yellow.numbers[size_t(row)] == 1) {
            m_hasYellowEntries = true;
            continue;
        }
        const QStringView name = surname.texts.view(size_t(row));
        if (name.isEmpty())
            continue;
        const QChar first = name.front();
        const bool byFirstUnit = !first.isSurrogate() && !first.isSpace();
        if (byFirstUnit && seenFirstUnits[first.unicode()])
            continue;
        const QString initial = surnameInitial(name.toString());
        if (!initial.isEmpty())
            insertInitial(initial);
        if (byFirstUnit)
            seenFirstUnits[first.unicode()] = true;
    }
    return true;
}

bool EditModel::addInitial(const QString &surname)
{
    const QString initial = surnameInitial(surname);
    if (initial.isEmpty())
        return false;
    const qsizetype before = m_initials.size();
    insertInitial(initial);
    return m_initials.size() > before;
}

} // namespace qv
