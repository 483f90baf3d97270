#pragma once

#include <QList>
#include <QString>

namespace qv {

class TableView;

// A name field given a text wider than the field: it keeps the head that fits.
struct NameCut {
    QString field; // Name, SurName, GivenName or MidName
    QString kept;
    bool operator==(const NameCut &) const = default;
};
using NameCuts = QList<NameCut>;

// What the person field can hold of the text: all of it, or the head that
// fits its width, without blanks at its end, which is then added to the cuts.
QString fitNameField(const TableView &persons, const QString &field, const QString &text, NameCuts &cuts);
// Writes what the field can hold of the text into the person row open for editing.
void writeNameField(TableView &persons, const QString &field, const QString &text, NameCuts &cuts);

// What the editor tells the user of a cut name: each field by its caption,
// with what it kept.
QString nameCutWarning(const NameCuts &cuts);

// The sentence an import, or a command over many entries, adds for the
// entries whose names it cut; empty for none.
QString cutNamesSentence(int count);

} // namespace qv
