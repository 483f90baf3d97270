#pragma once

#include <QByteArray>

namespace qv {

// The iconv name of the 8-bit code page that Windows used for text of the
// locale with this identifier (LCID); empty when the language is not one
// this knows, so that the caller falls back on a rule of its own.
QByteArray codePageOfLocaleId(quint32 localeId);

} // namespace qv
