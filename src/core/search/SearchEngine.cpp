#include "search/SearchEngine.h"

#include "data/TableView.h"
#include "navigation/RecordListModel.h"

namespace qv {

namespace {

// "F LIKE '%v%'": the field contains the value.
QString containsCondition(const QString &field, const QString &value)
{
    return field + QStringLiteral(" LIKE ") + RecordListModel::quoted(QLatin1Char('%') + value + QLatin1Char('%'));
}

// Whether an OR joins the text's terms outside parentheses and quotes.
bool hasOuterOr(const QString &text)
{
    int depth = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\''))
            quoted = !quoted; // a doubled quote inside a constant toggles twice
        else if (quoted)
            continue;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (depth == 0 && QStringView(text).mid(i).startsWith(QLatin1String(" OR "), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// Restores the organisation view's unfiltered state however the search ends,
// so that the organisation lookup box lists every organisation again.
class UnfilterWhenDone {
public:
    explicit UnfilterWhenDone(TableView &view) : m_view(view) {}
    ~UnfilterWhenDone() { m_view.setFiltered(false); }
    UnfilterWhenDone(const UnfilterWhenDone &) = delete;
    UnfilterWhenDone &operator=(const UnfilterWhenDone &) = delete;

private:
    TableView &m_view;
};

} // namespace

const QString SearchEngine::kMatchNothing = QStringLiteral("OrgID=-1");

SearchEngine::SearchEngine(TableView &persons, TableView &organisations)
    : m_persons(persons)
    , m_organisations(organisations)
{
}

void SearchEngine::clearSearch()
{
    m_searchText.clear();
    m_organisationText.clear();
}

QString SearchEngine::joined(const QString &text, const QString &condition) const
{
    if (!m_continue || text.isEmpty())
        return condition;
    if (m_logic == SearchLogic::Or)
        return text + QStringLiteral(" OR ") + condition;
    // "and" binds tighter than "or": narrowing results found by several
    // alternatives must narrow all of them.
    const QString earlier = hasOuterOr(text) ? QLatin1Char('(') + text + QLatin1Char(')') : text;
    return earlier + QStringLiteral(" AND ") + condition;
}

void SearchEngine::addPersonCondition(const QString &field, const QString &value)
{
    m_searchText = joined(m_searchText, containsCondition(field, value));
}

bool SearchEngine::addOrgCondition(const QString &field, const QString &value, bool caseInsensitive)
{
    // Each condition is evaluated on its own: a person belongs to one
    // organisation, so joining its group to the earlier ones with the
    // connective narrows or widens exactly as the joined organisation
    // conditions would, without repeating their organisations in every
    // later group, and an earlier search's conditions cannot come back.
    const QString organisationText = containsCondition(field, value);
    QString group;
    {
        UnfilterWhenDone unfilter(m_organisations);
        m_organisations.setCaseInsensitive(caseInsensitive);
        m_organisations.setFilter(organisationText);
        m_organisations.setFiltered(true);
        const RecordTable &table = *m_organisations.table();
        const int coId = table.fieldIndex(QStringLiteral("CoID"));
        for (int row : m_organisations.rows()) {
            group += group.isEmpty() ? QStringLiteral("(OrgID=") : QStringLiteral(" OR OrgID=");
            group += valueText(table.value(row, coId));
        }
    }
    m_organisationText = organisationText;
    if (group.isEmpty()) {
        // A fresh search that finds nothing lists nothing, whatever the
        // logic; only a continued OR search keeps what it had.
        if (m_logic == SearchLogic::And || !m_continue)
            m_searchText = kMatchNothing;
        return false;
    }
    m_searchText = joined(m_searchText, group + QLatin1Char(')'));
    return true;
}

void SearchEngine::findInPersonField(const QString &field, const QString &value, bool caseInsensitive)
{
    addPersonCondition(field, value);
    m_persons.setCaseInsensitive(caseInsensitive);
    apply();
}

void SearchEngine::findInOrgField(const QString &field, const QString &value, bool caseInsensitive)
{
    addOrgCondition(field, value, caseInsensitive);
    apply();
}

void SearchEngine::applyLastSearch()
{
    m_persons.setFilter(m_searchText.isEmpty() ? kMatchNothing : m_searchText);
}

void SearchEngine::applySearch(bool caseInsensitive)
{
    m_persons.setCaseInsensitive(caseInsensitive);
    applyLastSearch();
}

void SearchEngine::replaceSearch(const QString &text)
{
    m_continue = false;
    m_searchText = text;
    apply();
}

void SearchEngine::findByOrg(int organisation)
{
    replaceSearch(QStringLiteral("OrgID=") + QString::number(organisation));
}

void SearchEngine::findByBirthday(int month, int day)
{
    replaceSearch(QStringLiteral("Month(Birthday)=%1 AND Day(Birthday)=%2").arg(month).arg(day));
}

void SearchEngine::findByBirthMonth(int month)
{
    replaceSearch(QStringLiteral("Month(Birthday)=") + QString::number(month));
}

void SearchEngine::findByName(const QString &name)
{
    replaceSearch(QStringLiteral("Name=") + RecordListModel::quoted(name));
}

void SearchEngine::findByNamePrefix(const QString &text)
{
    m_persons.setCaseInsensitive(true);
    replaceSearch(QStringLiteral("Name=") + RecordListModel::quoted(text + QLatin1Char('*'))
                  + QStringLiteral(" and (not (Yellow=true))"));
}

void SearchEngine::apply()
{
    m_persons.setFilter(m_searchText);
}

} // namespace qv
