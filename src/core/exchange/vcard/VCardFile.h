#pragma once

#include "exchange/vcard/VCardVersion.h"

#include <QString>

#include <vector>

class QIODevice;

namespace qv::vcard {

class EntryCards;

// Writes the card of each person row (row ids, in order). False when the
// device took not every byte.
bool writeVCards(QIODevice &out, const EntryCards &cards, const std::vector<int> &rows, VCardVersion version);

// The same into a file, through a temporary file beside it that replaces
// the file only when everything was written. Throws qv::Error "Unable to
// write to PATH" otherwise; an existing file is then left as it was.
void writeVCardFile(const QString &path, const EntryCards &cards, const std::vector<int> &rows, VCardVersion version);

} // namespace qv::vcard
