#pragma once

#include <QString>

namespace qv {

class TableView;

// How a further condition joins the ones before it.
enum class SearchLogic { And, Or };

// The search engine: turns search conditions into a filter on the person
// list copy, so that the entry list shows what was found. Conditions on
// organisation fields are first evaluated on the organisation lookup copy and
// become a group of organisation numbers matched through OrgID. The last
// filter is kept, so that the search node shows the last results again and
// a further condition can narrow or widen them. Filter texts the record store
// refuses raise its error to the caller.
class SearchEngine {
public:
    // The filter that lists nothing: no person has OrgID -1.
    static const QString kMatchNothing;

    // The views are the store's, which keep their place as books come and go.
    SearchEngine(TableView &persons, TableView &organisations);

    // Set: the next condition joins the previous text with the logic's
    // connective. Clear: it replaces it.
    void setContinue(bool on) { m_continue = on; }
    void setLogic(SearchLogic logic) { m_logic = logic; }
    void clearSearch();

    // Conditions that are composed but not yet applied.
    void addPersonCondition(const QString &field, const QString &value);
    // Returns whether any organisation matched.
    bool addOrgCondition(const QString &field, const QString &value, bool caseInsensitive);

    void findInPersonField(const QString &field, const QString &value, bool caseInsensitive);
    void findInOrgField(const QString &field, const QString &value, bool caseInsensitive);
    // The last search again; nothing when there was none.
    void applyLastSearch();
    // The conditions composed so far, person fields compared ignoring
    // letter case or not.
    void applySearch(bool caseInsensitive);

    void findByOrg(int organisation);
    void findByBirthday(int month, int day);
    void findByBirthMonth(int month);
    void findByName(const QString &name);
    // White-page entries whose Name begins with the text, in any letter case.
    void findByNamePrefix(const QString &text);

    const QString &searchText() const { return m_searchText; }
    // The organisation condition evaluated last.
    const QString &organisationText() const { return m_organisationText; }

private:
    // The text with the condition joined to it, or the condition alone.
    QString joined(const QString &text, const QString &condition) const;
    void replaceSearch(const QString &text);
    void apply();

    TableView &m_persons;
    TableView &m_organisations;
    QString m_searchText;
    QString m_organisationText;
    SearchLogic m_logic = SearchLogic::And;
    bool m_continue = false;
};

} // namespace qv
