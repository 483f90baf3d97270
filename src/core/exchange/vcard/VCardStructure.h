#pragma once

#include <QString>
#include <QStringView>

namespace qv::vcard {

// How the value of a property is read and written.
enum class ValueKind {
    Text,       // escapes undone on reading, made on writing
    Uri,        // read like text (some writers escape "\:"), written as it is
    Structured, // components separated by ";", each one text, held as named children
    Kept,       // a property we do not use: its text is kept and written back as it came
};

ValueKind valueKind(QStringView property);

// The name of the component at a position of a structured value: F, G, ADDN,
// NPRE, NSUF for N; BOX, EXT ADD, STREET, L, R, PC, C for ADR; ORGNAME, OUN,
// OUN2, OUN3 … for ORG.
QString componentName(QStringView property, int position);

// The position of a component name in the structured value, or -1 when the
// name is not one of its components.
int componentPosition(QStringView property, QStringView component);

// How many components the structured value has; for ORG, whose units are
// open-ended, zero.
int fixedComponentCount(QStringView property);

} // namespace qv::vcard
