#include "exchange/csv/ImportDate.h"

#include <QStringList>

namespace qv {

namespace {

const QDate kZeroDate(1899, 12, 30);

// The first character of the format that is neither a letter nor a blank.
QChar separatorOf(const QString &format)
{
    for (QChar c : format) {
        if (!c.isLetter() && !c.isSpace() && c != u'\'')
            return c;
    }
    return QChar();
}

QDate byNumbers(const QString &text, const QString &format)
{
    const QChar separator = separatorOf(format);
    const qsizetype d = format.indexOf(u'd'), m = format.indexOf(u'M'), y = format.indexOf(u'y');
    if (separator.isNull() || d < 0 || m < 0 || y < 0)
        return {};
    const QStringList parts = text.split(separator);
    if (parts.size() != 3)
        return {};
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    // The parts stand in the order in which the format names day, month and year.
    const auto rank = [&](qsizetype at) { return int(at > d) + int(at > m) + int(at > y); };
    int year = numbers[rank(y)];
    if (parts[rank(y)].trimmed().size() <= 2 && format.count(u'y') <= 2)
        year += 1900; // as the format's two-digit years read
    return QDate(year, numbers[rank(m)], numbers[rank(d)]);
}

QDate byFormat(const QString &text, const QString &format, const QLocale &locale)
{
    if (text.size() <= format.size() || format.contains(QLatin1String("MMM")) || format.contains(QLatin1String("ddd"))) {
        const QDate date = locale.toDate(text, format);
        if (date.isValid())
            return date;
    }
    return byNumbers(text, format);
}

// yyyy-mm-dd without the locale's machinery: the form the export writes.
QDate isoDate(const QString &text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return {};
    int digits[8], n = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!text[i].isDigit())
            return {};
        digits[n++] = text[i].digitValue();
    }
    return QDate(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3], digits[4] * 10 + digits[5],
                 digits[6] * 10 + digits[7]);
}

} // namespace

std::optional<QDate> parseImportDate(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDate();
    if (const QDate date = isoDate(trimmed); date.isValid())
        return date != kZeroDate ? date : QDate();
    bool zero = false;
    for (const QString &format : {QStringLiteral("yyyy-MM-dd"), locale.dateFormat(QLocale::LongFormat), locale.dateFormat(QLocale::ShortFormat)}) {
        const QDate date = byFormat(trimmed, format, locale);
        if (date.isValid() && date != kZeroDate)
            return date;
        zero = zero || date == kZeroDate;
    }
    if (zero)
        return QDate();
    return std::nullopt;
}

} // namespace qv
