#pragma once

#include <QString>
#include <QStringList>

namespace qv {

class Settings;

// Which table a field name belongs to.
enum class FieldTable { None, Person, Organisation };

// A field of the catalogue as a user names it: the table field behind the
// label and the table that holds it.
struct CatalogueField {
    QString name;
    FieldTable table = FieldTable::None;
};

// The fields a user can search and exchange: the labels of the settings'
// "FieldsList" and the table field list (every person field in table order,
// then every organisation field), which tells the two tables' fields apart.
// All books share one schema, so the list is built once.
class FieldCatalogue {
public:
    explicit FieldCatalogue(const Settings &settings);

    const QStringList &tableFields() const { return m_tableFields; }
    int personFieldCount() const { return m_personFieldCount; }

    // Names are compared ignoring case, so "Surname" is the field SurName.
    bool isPersonField(const QString &name) const;
    bool isOrganisationField(const QString &name) const;
    FieldTable tableOf(const QString &name) const;

    // The field of the first catalogue line whose label equals the label,
    // ignoring case; no name and no table when there is none.
    CatalogueField fieldForLabel(const QString &label) const;

private:
    int indexOf(const QString &name) const;

    const Settings &m_settings;
    QStringList m_tableFields;
    int m_personFieldCount = 0;
};

} // namespace qv
