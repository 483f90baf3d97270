#pragma once

#include "exchange/vcard/VCardObject.h"

#include <QByteArray>
#include <QString>

namespace qv::test {

// A property as one line a test can compare: "group.NAME;PARAM;PARAM=value:value",
// components of structured values as "N;F=Doe;G=John".
QString dumpProperty(const vcard::VCardObject &property);

// The card's properties but VERSION, one per line.
QString dumpCard(const vcard::VCardObject &card);

// The card of a file that holds exactly one good card, dumped; a text
// starting with "!" when the file holds something else.
QString dumpOnlyCard(const QByteArray &file, const QString &locale = QStringLiteral("en_US"));

} // namespace qv::test
