#pragma once

#include "data/TextFieldIndex.h"

#include <QString>

namespace qv {

class EditModel;
class Prompter;
class TableView;

// Renaming the current organisation from the entry editor. The default
// organisation is never renamed; another one takes the new name unless an
// organisation already bears it exactly, in which case the person moves to
// that one when the editor links it by name.
class OrganisationRename {
public:
    // The organisation lookup copy decides whether a name is taken.
    explicit OrganisationRename(TableView &organisationLookup) : m_lookup(organisationLookup) {}

    // Refuses, with its message, the default organisation.
    static bool mayRename(EditModel &editModel, Prompter &prompter);
    // Renames the current organisation to the trimmed text when no
    // organisation bears that name exactly, and returns the name the Org
    // field is to show. A blank name changes nothing and returns nothing.
    QString rename(EditModel &editModel, const QString &text);

private:
    TableView &m_lookup;
    TextFieldIndex m_exactNames{QStringLiteral("Company"), Qt::CaseSensitive};
};

} // namespace qv
