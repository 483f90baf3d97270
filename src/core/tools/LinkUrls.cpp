#include "tools/LinkUrls.h"

#include <QRegularExpression>

namespace qv {

std::optional<QUrl> telephoneUrl(const QString &number)
{
    static const QString kept = QStringLiteral("+*#-.()");
    QString digits;
    bool anyDigit = false;
    for (const QChar c : number) {
        if (c.isSpace() || c == QLatin1Char('/'))
            continue;
        if (c.isDigit() && c.digitValue() >= 0) {
            digits += QChar(u'0' + c.digitValue());
            anyDigit = true;
        } else if (kept.contains(c)) {
            digits += c;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    // "#" would start the URL's fragment.
    return QUrl(QStringLiteral("tel:") + QString::fromLatin1(QUrl::toPercentEncoding(digits, "+*-.()")), QUrl::StrictMode);
}

std::optional<QUrl> webUrl(const QString &address)
{
    const QString text = address.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    // A scheme is a word before a colon; "host:8080" is an address with a port.
    static const QRegularExpression schemePattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(?!\\d)"));
    const QRegularExpressionMatch scheme = schemePattern.match(text);
    // A bare e-mail address is one to write to, not a web server's user name.
    static const QRegularExpression mailAddress(QStringLiteral("^[^@/\\s]+@[^@/\\s]+$"));
    QString candidate = text;
    if (!scheme.hasMatch()) {
        static const QString pathStarts = QStringLiteral("/\\~.");
        if (pathStarts.contains(text.front()))
            return std::nullopt;
        candidate = (mailAddress.match(text).hasMatch() ? QStringLiteral("mailto:") : QStringLiteral("http://")) + text;
    }
    const QUrl url(candidate, QUrl::TolerantMode);
    if (!url.isValid())
        return std::nullopt;
    const QString name = url.scheme().toLower();
    if ((name == QLatin1String("http") || name == QLatin1String("https")) && !url.host().isEmpty())
        return url;
    if (name == QLatin1String("mailto") && !url.path().isEmpty())
        return url;
    return std::nullopt;
}

} // namespace qv
