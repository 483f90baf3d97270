#include "exchange/vcard/VCardDate.h"

namespace qv::vcard {

namespace {

// A leap year, so that a birthday on 29 February without year is a real day.
constexpr int AnyLeapYear = 2000;

// Reads at least min and at most max digits at pos; -1 when there are fewer.
int readNumber(QStringView text, qsizetype &pos, int min, int max)
{
    int value = 0;
    int count = 0;
    while (pos < text.size() && count < max && text[pos].isDigit() && text[pos].unicode() < 128) {
        value = value * 10 + (text[pos].unicode() - '0');
        ++pos;
        ++count;
    }
    return count >= min ? value : -1;
}

std::optional<VCardDate> readFullDate(QStringView date)
{
    qsizetype pos = 0;
    VCardDate result;
    result.year = readNumber(date, pos, 4, 4);
    if (pos == date.size() || date[pos].isDigit()) {
        result.month = readNumber(date, pos, 2, 2);
        result.day = readNumber(date, pos, 2, 2);
    } else {
        const QChar separator = date[pos];
        if (separator != u'-' && separator != u'/' && separator != u'.')
            return std::nullopt;
        ++pos;
        result.month = readNumber(date, pos, 1, 2);
        if (pos == date.size() || date[pos] != separator)
            return std::nullopt;
        ++pos;
        result.day = readNumber(date, pos, 1, 2);
    }
    if (pos != date.size() || result.year <= 0 || !QDate::isValid(result.year, result.month, result.day))
        return std::nullopt;
    return result;
}

std::optional<VCardDate> readDateWithoutYear(QStringView date)
{
    qsizetype pos = 2;
    VCardDate result;
    result.month = readNumber(date, pos, 2, 2);
    if (pos < date.size() && date[pos] == u'-')
        ++pos;
    result.day = readNumber(date, pos, 2, 2);
    if (pos != date.size() || !QDate::isValid(AnyLeapYear, result.month, result.day))
        return std::nullopt;
    return result;
}

} // namespace

std::optional<VCardDate> readVCardDate(QStringView text)
{
    QStringView date = text.trimmed();
    const qsizetype time = date.indexOf(u'T');
    if (time >= 0)
        date = date.first(time);
    if (date.startsWith(u"--"))
        return readDateWithoutYear(date);
    return readFullDate(date);
}

} // namespace qv::vcard
