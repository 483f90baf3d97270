#pragma once

#include <QDate>
#include <QStringView>

#include <optional>

namespace qv::vcard {

// A date as a card gives it; birthdays may come without their year.
struct VCardDate {
    int year = 0; // 0: the card names no year
    int month = 0;
    int day = 0;

    bool hasYear() const { return year != 0; }
    // The date; null when the year is not known.
    QDate toDate() const { return hasYear() ? QDate(year, month, day) : QDate(); }
    bool operator==(const VCardDate &) const = default;
};

// Reads a date in the forms cards use: basic 19700302, extended 1970-03-02
// (also with "/" or "." and one-digit month or day), and without year --0302
// or --03-02; a time after "T" is ignored. Nothing when the text is not one
// of them or names no real day.
std::optional<VCardDate> readVCardDate(QStringView text);

} // namespace qv::vcard
