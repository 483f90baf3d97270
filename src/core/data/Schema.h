#pragma once

#include <QList>
#include <QString>

namespace qv {

enum class FieldType { Integer, Text, Date, Memo, Boolean };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // maximum width of a text field; 0 for other types
    bool operator==(const FieldDef &) const = default;
};

// The person table: 29 fields, in stored order.
const QList<FieldDef> &personFields();
// The organisation table: 10 fields, in stored order.
const QList<FieldDef> &organisationFields();

// Index of the field with this name, matched ignoring case; -1 when none.
int fieldIndex(const QList<FieldDef> &fields, const QString &name);

} // namespace qv
