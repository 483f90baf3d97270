#pragma once

#include "common/CodePageDecoder.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace qv::vcard {

// Turns the bytes of values into text. A CHARSET parameter names the code
// page; without one, bytes as they stand in the file follow the file's
// encoding, and bytes that quoted-printable encoding hid from it are UTF-8
// when they are valid UTF-8 and the locale's legacy code page otherwise.
class ValueDecoder {
public:
    // fileIsUtf8: the file as a whole is UTF-8 (else in the legacy code page).
    // fileWasUtf16: it came as UTF-16 and was turned into UTF-8, so a CHARSET
    // no longer describes the bytes that stand in it.
    ValueDecoder(bool fileIsUtf8, bool fileWasUtf16, QByteArray legacyCodePage);

    QString decode(QByteArrayView bytes, QByteArrayView charset, bool wasQuotedPrintable);

private:
    QString decodeWithoutCharset(QByteArrayView bytes, bool utf8);
    CodePageDecoder *decoderFor(QByteArrayView charset);

    bool m_fileIsUtf8;
    bool m_fileWasUtf16;
    QByteArray m_legacyCodePage;
    std::unique_ptr<CodePageDecoder> m_legacy;
    std::vector<std::pair<QByteArray, std::unique_ptr<CodePageDecoder>>> m_decoders;
};

} // namespace qv::vcard
