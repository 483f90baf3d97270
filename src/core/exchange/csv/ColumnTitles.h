#pragma once

#include "settings/IniDocument.h"
#include "settings/Settings.h"

#include <QList>
#include <QStringList>

namespace qv {

// Recognises a first CSV record that holds column titles rather than an
// entry: the catalogue's labels and field names, and the titles that the
// exports of common address books and mail programs write.
class ColumnTitles {
public:
    explicit ColumnTitles(const QList<IniLine> &catalogue);

    // The catalogue line a title names, ignoring case and surrounding
    // blanks; -1 when none.
    int catalogueLineOf(const QString &title) const;
    // True when more than half of the record's non-empty values are titles.
    bool areTitles(const QStringList &record) const;
    // The mapping the titles suggest: each recognised column assigned to its
    // line. When both a whole name and its parts are recognised, the parts
    // are kept: a mapping with both would fail the name check.
    ImportFieldMapping mappingOf(const QStringList &record) const;

private:
    const QList<IniLine> &m_catalogue;
};

} // namespace qv
