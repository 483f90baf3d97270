#include "navigation/RecordListModel.h"

#include "data/TableView.h"

namespace qv {

void RecordListModel::attachTables(TableView &persons, TableView &organisations)
{
    m_persons = &persons;
    m_organisations = &organisations;
}

void RecordListModel::apply(const QString &filter)
{
    m_filter = filter;
    if (m_persons)
        m_persons->setFilter(filter);
}

void RecordListModel::showAll()
{
    apply(QString());
}

void RecordListModel::showCategory(int number)
{
    const QString n = QString::number(number);
    apply(QStringLiteral("Group1=") + n + QStringLiteral(" OR Group2=") + n + QStringLiteral(" OR Group3=") + n
          + QStringLiteral(" OR Group4=") + n);
}

void RecordListModel::showInitial(const QString &initial, bool includeYellow)
{
    if (initial.isEmpty()) {
        apply(includeYellow ? QString() : QStringLiteral("not (Yellow=true)"));
        return;
    }
    if (m_persons)
        m_persons->setCaseInsensitive(true);
    QString filter = QStringLiteral("Surname=") + quoted(initial + QLatin1Char('*'));
    if (!includeYellow)
        filter += QStringLiteral(" and (not (Yellow=true))");
    apply(filter);
}

void RecordListModel::reapply()
{
    // The list's filter as it stands, whoever set it: after a search it is
    // the search engine's, which this model did not compose.
    if (m_persons)
        apply(m_persons->filter());
}

void RecordListModel::showYellowPages()
{
    apply(QStringLiteral("Yellow=true"));
}

bool RecordListModel::showNode(int number)
{
    if (number == 1000)
        showAll();
    else if (number > 1000)
        showCategory(number);
    else if (number == 110)
        showYellowPages();
    else
        return false;
    return true;
}

QString RecordListModel::countsText(int entries, int listed, int selected)
{
    return QString::number(entries) + QStringLiteral(" Entries; ") + QString::number(listed) + QStringLiteral(" Listed; ")
        + QString::number(selected) + QStringLiteral(" Selected");
}

QString RecordListModel::quoted(const QString &value)
{
    QString inner = value;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

} // namespace qv
