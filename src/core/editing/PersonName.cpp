#include "editing/PersonName.h"

#include "common/TextWidth.h"

namespace qv {

namespace {

bool startsWide(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QChar c = text[0];
    if (c.isHighSurrogate() && text.size() > 1)
        return isWide(QChar::surrogateToUcs4(c, text[1]));
    return isWide(c.unicode());
}

// The first n characters (a surrogate pair counts as one).
QString firstCharacters(const QString &text, int n)
{
    qsizetype i = 0;
    for (int k = 0; k < n && i < text.size(); ++k)
        i += (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    return text.left(i);
}

bool isDelimiter(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char(',');
}

} // namespace

NameFields splitName(const QString &text, const QStringList &compoundSurnames)
{
    const QString t = text.trimmed() + QLatin1Char(' ');
    NameFields fields;
    if (startsWide(t)) {
        const QString two = firstCharacters(t, 2);
        const bool compound = textWidth(two) == 4 && std::any_of(compoundSurnames.cbegin(), compoundSurnames.cend(), [&](const QString &s) {
            return s.compare(two, Qt::CaseInsensitive) == 0;
        });
        fields.surName = compound ? two : firstCharacters(t, 1);
        fields.givenName = cutToWidth(t.mid(fields.surName.size()), 20).trimmed();
        fields.code = 1;
        return fields;
    }

    QStringList words;
    qsizetype i = 0;
    const qsizetype end = t.size() - 1; // the final space
    bool first = true;
    while (i < end && words.size() < 3) {
        const qsizetype start = i;
        while (i < t.size() && !isDelimiter(t[i]))
            ++i;
        // The first word may be empty when the name starts with a delimiter.
        if (i > start || first)
            words << t.mid(start, i - start);
        first = false;
        while (i < t.size() && isDelimiter(t[i]))
            ++i;
    }
    while (words.size() < 2)
        words << QString();
    if (words.size() == 3) {
        fields.givenName = words[0];
        fields.midName = words[1];
        fields.surName = words[2];
        fields.code = i < end ? 0 : 2;
    } else {
        fields.givenName = words[0];
        fields.surName = words[1];
    }
    return fields;
}

QString composeName(const QString &surName, const QString &givenName, const QString &midName)
{
    if (startsWide(surName))
        return surName + givenName;
    if (!midName.isEmpty())
        return (givenName + QLatin1Char(' ') + midName + QLatin1Char(' ') + surName).trimmed();
    return (givenName + QLatin1Char(' ') + surName).trimmed();
}

QString surnameInitial(const QString &surName)
{
    // A blank surname has none; otherwise the first character as it stands,
    // so that ' Lee' has the blank initial that lists such surnames.
    if (surName.trimmed().isEmpty())
        return {};
    const QString &s = surName;
    if (startsWide(s))
        return firstCharacters(s, 1);
    const QChar c = s[0];
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QString(c.toUpper()) : QString(c);
}

} // namespace qv
