#pragma once

#include "settings/Settings.h"

#include <QString>

#include <optional>

namespace qv::tool {

// Reads a column mapping such as "Name=1;Phone=3,4;Company=5": catalogue
// fields by field name or label (ignoring case), each with up to five
// 1-based columns. Nothing, with the reason in error, when it does not read.
std::optional<ImportFieldMapping> parseImportMap(const QString &text, const QList<IniLine> &catalogue, QString &error);

} // namespace qv::tool
