#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>

namespace qv {

// The legacy code page that files written by older programs use on a system
// of the given locale: GBK for mainland Chinese, Big5 for Taiwan and Hong
// Kong, Windows-1252 otherwise.
QByteArray legacyCodePage(const QLocale &locale = QLocale::system());

// Decodes a text file of unknown origin: a UTF-8 or UTF-16 byte-order mark
// decides; otherwise valid UTF-8 is UTF-8; otherwise the legacy code page.
QString decodeText(const QByteArray &bytes, const QLocale &locale = QLocale::system());

// Decodes bytes in the named iconv code page; undecodable bytes become U+FFFD.
QString decodeCodePage(const QByteArray &bytes, const QByteArray &codePage);

// Decodes UTF-16LE from a file; a surrogate without its partner becomes
// U+FFFD, as a saved book (UTF-8) could not hold it and would change the text.
QString decodeUtf16Le(QByteArrayView bytes);

} // namespace qv
