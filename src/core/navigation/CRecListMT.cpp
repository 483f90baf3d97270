#include "navigation/CRecListMT.h"

#include "data/TableView.h"

namespace qv {

void CRecListMT::AttachTables(TableView &persons, TableView &organisations)
{
    m_persons = &persons;
    m_organisations = &organisations;
}

void CRecListMT::apply(const QString &filter)
{
    m_filter = filter;
    if (m_persons)
        m_persons->setFilter(filter);
}

void CRecListMT::ShowAll()
{
    apply(QString());
}

void CRecListMT::ShowCategory(int number)
{
    const QString n = QString::number(number);
    apply(QStringLiteral("Group1=") + n + QStringLiteral(" OR Group2=") + n + QStringLiteral(" OR Group3=") + n
          + QStringLiteral(" OR Group4=") + n);
}

void CRecListMT::ShowInitial(const QString &initial, bool includeYellow)
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

void CRecListMT::Reapply()
{
    apply(m_filter);
}

void CRecListMT::ShowYellowPages()
{
    apply(QStringLiteral("Yellow=true"));
}

bool CRecListMT::ShowNode(int number)
{
    if (number == 1000)
        ShowAll();
    else if (number > 1000)
        ShowCategory(number);
    else if (number == 110)
        ShowYellowPages();
    else
        return false;
    return true;
}

QString CRecListMT::countsText(int entries, int listed, int selected)
{
    return QString::number(entries) + QStringLiteral(" Entries; ") + QString::number(listed) + QStringLiteral(" Listed; ")
        + QString::number(selected) + QStringLiteral(" Selected");
}

QString CRecListMT::quoted(const QString &value)
{
    QString inner = value;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

} // namespace qv
