#include "exchange/FieldCatalogue.h"

#include "data/Schema.h"
#include "settings/Settings.h"

namespace qv {

FieldCatalogue::FieldCatalogue(const Settings &settings)
    : m_settings(settings)
{
    for (const FieldDef &f : personFields())
        m_tableFields << f.name;
    m_personFieldCount = int(m_tableFields.size());
    for (const FieldDef &f : organisationFields())
        m_tableFields << f.name;
}

int FieldCatalogue::indexOf(const QString &name) const
{
    for (int i = 0; i < m_tableFields.size(); ++i) {
        if (m_tableFields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool FieldCatalogue::isPersonField(const QString &name) const
{
    const int i = indexOf(name);
    return i >= 0 && i < m_personFieldCount;
}

bool FieldCatalogue::isOrganisationField(const QString &name) const
{
    return indexOf(name) >= m_personFieldCount;
}

FieldTable FieldCatalogue::tableOf(const QString &name) const
{
    if (isPersonField(name))
        return FieldTable::Person;
    if (isOrganisationField(name))
        return FieldTable::Organisation;
    return FieldTable::None;
}

CatalogueField FieldCatalogue::fieldForLabel(const QString &label) const
{
    const QString name = m_settings.fieldNameForLabel(label);
    if (name.isEmpty())
        return {};
    return {name, tableOf(name)};
}

} // namespace qv
