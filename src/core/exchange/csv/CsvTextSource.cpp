#include "exchange/csv/CsvTextSource.h"

#include "common/Error.h"
#include "common/TextDecoding.h"

#include <QDir>
#include <QIODevice>
#include <QUtf8StringView>

namespace qv {

namespace {

constexpr qint64 kPieceSize = 64 * 1024;

// Where the bytes stop holding whole UTF-8 sequences: the start of a
// sequence cut off by the end of the piece, or the end.
qsizetype wholeUtf8Length(const QByteArray &bytes)
{
    qsizetype i = bytes.size();
    for (int back = 0; back < 4 && i > 0; ++back) {
        const uchar c = uchar(bytes[i - 1]);
        if (c < 0x80)
            return bytes.size();
        --i;
        if (c >= 0xC0) { // a lead byte: is its sequence complete?
            const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            return bytes.size() - i >= length ? bytes.size() : i;
        }
    }
    return bytes.size();
}

QString displayName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

} // namespace

CsvTextSource::CsvTextSource(QIODevice &device, const QString &fileName, const QLocale &locale)
    : m_device(device)
    , m_fileName(fileName)
    , m_codePage(legacyCodePage(locale))
{
    detectEncoding();
    rewind();
}

void CsvTextSource::detectEncoding()
{
    m_device.seek(0);
    const QByteArray head = m_device.peek(3);
    if (head.isEmpty())
        throw Error(QStringLiteral("%1 is empty: there is nothing to import.").arg(displayName(m_fileName)));
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        // NUL bytes are part of UTF-16 text.
        m_encoding = head.startsWith("\xFF\xFE") ? Encoding::Utf16LE : Encoding::Utf16BE;
        m_textStart = 2;
        return;
    }
    const bool utf8Mark = head.startsWith("\xEF\xBB\xBF");
    bool validUtf8 = true;
    QByteArray pending;
    while (!m_device.atEnd()) {
        const QByteArray piece = pending + m_device.read(kPieceSize);
        if (piece.contains('\0'))
            throw Error(QStringLiteral("%1 is not a text file.").arg(displayName(m_fileName)));
        if (validUtf8 && !utf8Mark) {
            const qsizetype whole = wholeUtf8Length(piece);
            validUtf8 = QUtf8StringView(piece.constData(), whole).isValidUtf8();
            pending = piece.mid(whole);
        }
    }
    validUtf8 = validUtf8 && pending.isEmpty();
    m_encoding = utf8Mark || validUtf8 ? Encoding::Utf8 : Encoding::Legacy;
    m_textStart = utf8Mark ? 3 : 0;
}

void CsvTextSource::rewind()
{
    m_device.seek(m_textStart);
    m_carry.clear();
    switch (m_encoding) {
    case Encoding::Utf8:
        m_decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        break;
    case Encoding::Utf16LE:
        m_decoder = QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::ConvertInitialBom);
        break;
    case Encoding::Utf16BE:
        m_decoder = QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::ConvertInitialBom);
        break;
    case Encoding::Legacy:
        break;
    }
}

QString CsvTextSource::read()
{
    while (!m_device.atEnd()) {
        const QByteArray piece = m_device.read(kPieceSize);
        if (m_encoding != Encoding::Legacy) {
            QString text = m_decoder(piece);
            if (!text.isEmpty())
                return text;
            continue;
        }
        m_carry += piece;
        QString text = decodeLegacy(false);
        if (!text.isEmpty())
            return text;
    }
    return m_encoding == Encoding::Legacy ? decodeLegacy(true) : QString();
}

QString CsvTextSource::decodeLegacy(bool atEnd)
{
    // Line ends never occur inside a character of the legacy code pages, so
    // a piece cut after one decodes on its own.
    qsizetype cut = m_carry.size();
    if (!atEnd) {
        cut = std::max(m_carry.lastIndexOf('\n'), m_carry.lastIndexOf('\r')) + 1;
        if (cut == 0 && m_carry.size() < 4 * kPieceSize)
            return QString();
        if (cut == 0) // no line end for long: a line that will be refused as too long anyway
            cut = m_carry.size();
    }
    const QString text = decodeCodePage(m_carry.left(cut), m_codePage);
    m_carry.remove(0, cut);
    return text;
}

} // namespace qv
