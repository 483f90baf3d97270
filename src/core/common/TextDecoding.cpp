#include "common/TextDecoding.h"

#include "common/CodePageDecoder.h"

#include <QStringDecoder>

namespace qv {

QByteArray legacyCodePage(const QLocale &locale)
{
    if (locale.language() == QLocale::Chinese) {
        const auto territory = locale.territory();
        if (territory == QLocale::Taiwan || territory == QLocale::HongKong || territory == QLocale::Macao)
            return "BIG5";
        if (locale.script() == QLocale::TraditionalChineseScript)
            return "BIG5";
        return "GBK";
    }
    return "WINDOWS-1252";
}

QString decodeCodePage(const QByteArray &bytes, const QByteArray &codePage)
{
    return CodePageDecoder(codePage).decode(bytes);
}

QString decodeUtf16Le(QByteArrayView bytes)
{
    QString text = QStringDecoder(QStringDecoder::Utf16LE)(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString decodeText(const QByteArray &bytes, const QLocale &locale)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCodePage(bytes, legacyCodePage(locale));
}

} // namespace qv
