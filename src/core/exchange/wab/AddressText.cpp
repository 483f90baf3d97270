#include "exchange/wab/AddressText.h"

#include <QRegularExpression>

namespace qv {

namespace {

bool needsQuotes(const QString &line)
{
    for (const QChar c : line) {
        if (c == QLatin1Char(' ') || c == QLatin1Char(',') || c == QLatin1Char('"') || c.unicode() < 0x20)
            return true;
    }
    return false;
}


// Commas and spaces at either end become nothing, so an address without a
// street or country does not begin or end with ", ".
QString trimCommas(const QString &text)
{
    static const QRegularExpression ends(QStringLiteral("^[, ]+|[, ]+$"));
    return QString(text).replace(ends, QString()).trimmed();
}

} // namespace

bool holdsWideText(const QString &text)
{
    for (const QChar c : text) {
        switch (c.script()) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
        case QChar::Script_Bopomofo:
            return true;
        default:
            break;
        }
    }
    return false;
}

QString commaText(const QStringList &lines)
{
    if (lines.size() == 1 && lines.front().isEmpty())
        return QStringLiteral("\"\"");
    QStringList quoted;
    for (const QString &line : lines) {
        if (needsQuotes(line))
            quoted << QLatin1Char('"') + QString(line).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        else
            quoted << line;
    }
    return quoted.join(QLatin1Char(','));
}

QString addressText(const QString &street, const QString &city, const QString &state, const QString &country)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QString streetText = street.isEmpty() ? QString() : commaText(street.split(lineBreak));
    const QString sep = QStringLiteral(", ");
    QString text = streetText + sep + city + sep + state + sep + country;
    if (holdsWideText(text))
        text = country + sep + state + sep + city + sep + streetText;
    return trimCommas(text);
}

} // namespace qv
