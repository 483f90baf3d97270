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

// The words between delimiters; the first is empty when the name starts with a delimiter.
QStringList wordsOf(const QString &text)
{
    QStringList words;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype start = i;
        while (i < text.size() && !isDelimiter(text[i]))
            ++i;
        if (i > start || words.isEmpty())
            words << text.mid(start, i - start);
        while (i < text.size() && isDelimiter(text[i]))
            ++i;
    }
    return words;
}

// Lower-case words that a family name may begin with. Written with a capital
// they are taken for names of their own.
bool isParticle(const QString &word)
{
    static const QStringList particles = {
        QStringLiteral("al"),  QStringLiteral("bin"), QStringLiteral("da"),   QStringLiteral("das"),   QStringLiteral("de"),
        QStringLiteral("degli"), QStringLiteral("dei"), QStringLiteral("del"), QStringLiteral("della"), QStringLiteral("delle"),
        QStringLiteral("des"), QStringLiteral("di"),  QStringLiteral("do"),   QStringLiteral("dos"),   QStringLiteral("du"),
        QStringLiteral("el"),  QStringLiteral("ibn"), QStringLiteral("la"),   QStringLiteral("le"),    QStringLiteral("ten"),
        QStringLiteral("ter"), QStringLiteral("van"), QStringLiteral("vom"),  QStringLiteral("von"),   QStringLiteral("zu"),
    };
    return particles.contains(word);
}

NameFields splitWideName(const QString &text, const QStringList &compoundSurnames)
{
    const QString two = firstCharacters(text, 2);
    const bool compound = textWidth(two) == 4 && std::any_of(compoundSurnames.cbegin(), compoundSurnames.cend(), [&](const QString &s) {
        return s.compare(two, Qt::CaseInsensitive) == 0;
    });
    NameFields fields;
    fields.surName = compound ? two : firstCharacters(text, 1);
    fields.givenName = text.mid(fields.surName.size()).trimmed();
    fields.code = 1;
    return fields;
}

} // namespace

NameFields splitName(const QString &text, const QStringList &compoundSurnames)
{
    const QString name = text.simplified();
    if (startsWide(name))
        return splitWideName(name, compoundSurnames);
    QStringList words = wordsOf(name);
    while (words.size() < 2)
        words << QString();
    NameFields fields;
    fields.givenName = words.first();
    qsizetype surnameStart = words.size() - 1;
    for (qsizetype k = 1; k + 1 < words.size(); ++k) {
        if (isParticle(words[k])) {
            surnameStart = k;
            break;
        }
    }
    fields.midName = words.mid(1, surnameStart - 1).join(QLatin1Char(' '));
    fields.surName = words.mid(surnameStart).join(QLatin1Char(' '));
    fields.code = words.size() > 3 ? 0 : 2;
    return fields;
}

QString keptName(const QString &text, const NameFields &split)
{
    return split.code == 1 ? composeName(split.surName, split.givenName, QString()) : text.simplified();
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
