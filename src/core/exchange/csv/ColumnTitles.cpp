#include "exchange/csv/ColumnTitles.h"

#include <QHash>

namespace qv {

namespace {

// Titles other programs write, by the field they hold.
const QHash<QString, QString> &commonTitles()
{
    static const QHash<QString, QString> titles = [] {
        const QList<std::pair<const char *, QStringList>> byField = {
            {"Name", {"Full Name", "Display Name", "Name"}},
            {"GivenName", {"First Name", "Given Name"}},
            {"MidName", {"Middle Name", "Additional Name"}},
            {"SurName", {"Last Name", "Family Name", "Surname"}},
            {"Position", {"Job Title", "Organization 1 - Title", "Organization Title"}},
            {"EMail", {"E-mail Address", "E-mail 1 - Value", "Email", "E-mail", "Email Address", "Primary Email"}},
            {"Mobile", {"Mobile Phone", "Cell Phone", "Mobile"}},
            {"Phone", {"Home Phone", "Phone 1 - Value", "Phone"}},
            {"Fax", {"Home Fax"}},
            {"Pager", {"Pager"}},
            {"Address", {"Home Street", "Home Address"}},
            {"Zip", {"Home Postal Code", "Home ZIP"}},
            {"Birthday", {"Birthday", "Date of Birth"}},
            {"Memo", {"Notes", "Note", "Memo"}},
            {"URL", {"Web Page", "Website 1 - Value", "Personal Web Page", "Web Site"}},
            {"Company", {"Company", "Organization Name", "Organization 1 - Name", "Organization"}},
            {"CAddress", {"Business Street", "Business Address", "Work Address"}},
            {"CZip", {"Business Postal Code", "Work Postal Code"}},
            {"CPhone", {"Business Phone", "Work Phone"}},
            {"CFax", {"Business Fax", "Work Fax"}},
            {"CURL", {"Business Web Page", "Work Web Page"}},
        };
        QHash<QString, QString> map;
        for (const auto &[field, list] : byField) {
            for (const QString &title : list)
                map.insert(title.toCaseFolded(), QString::fromLatin1(field));
        }
        return map;
    }();
    return titles;
}

int lineOfField(const QList<IniLine> &catalogue, const QString &field)
{
    for (int i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].key.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

ColumnTitles::ColumnTitles(const QList<IniLine> &catalogue)
    : m_catalogue(catalogue)
{
}

int ColumnTitles::catalogueLineOf(const QString &title) const
{
    const QString folded = title.trimmed().toCaseFolded();
    if (folded.isEmpty())
        return -1;
    for (int i = 0; i < m_catalogue.size(); ++i) {
        if (m_catalogue[i].value.toCaseFolded() == folded || m_catalogue[i].key.toCaseFolded() == folded)
            return i;
    }
    const auto common = commonTitles().constFind(folded);
    return common == commonTitles().constEnd() ? -1 : lineOfField(m_catalogue, *common);
}

bool ColumnTitles::areTitles(const QStringList &record) const
{
    int values = 0, titles = 0;
    for (const QString &value : record) {
        if (value.trimmed().isEmpty())
            continue;
        ++values;
        titles += catalogueLineOf(value) >= 0 ? 1 : 0;
    }
    return values > 0 && 2 * titles > values;
}

ImportFieldMapping ColumnTitles::mappingOf(const QStringList &record) const
{
    ImportFieldMapping mapping{};
    for (int column = 0; column < record.size(); ++column) {
        const int line = catalogueLineOf(record[column]);
        if (line < 0 || line >= int(mapping.size()))
            continue;
        for (int &slot : mapping[size_t(line)]) {
            if (slot == 0) {
                slot = column + 1;
                break;
            }
        }
    }
    // Lines 0 to 3 are Name, SurName, MidName and GivenName.
    if (mapping[1][0] > 0 && mapping[3][0] > 0)
        mapping[0] = {};
    else if (mapping[0][0] > 0)
        mapping[1] = mapping[2] = mapping[3] = {};
    return mapping;
}

} // namespace qv
