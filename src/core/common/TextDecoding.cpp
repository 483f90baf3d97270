#include "common/TextDecoding.h"

#include <QStringDecoder>

#include <iconv.h>

#include <cerrno>
#include <vector>

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
    iconv_t cd = iconv_open("UTF-16LE", codePage.constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);

    QString result;
    result.reserve(bytes.size());
    std::vector<char> out(4096);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        char *outPtr = out.data();
        size_t outLeft = out.size();
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        result.append(reinterpret_cast<const QChar *>(out.data()),
                      static_cast<qsizetype>((out.size() - outLeft) / 2));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: mark it and go on after its first byte.
            result.append(QChar::ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return result;
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
