#pragma once

#include <QString>
#include <QStringList>

namespace qv {

struct NameFields {
    QString surName;
    QString givenName;
    QString midName;
    int code = 2; // 1: a wide-character name; 2: up to three words; 0: words were dropped
    bool operator==(const NameFields &) const = default;
};

// Splits a typed name into surname, given name and middle name. A name beginning with a wide character
// (Chinese, Japanese, Korean) is surname first: two characters when they are
// a listed compound surname, else one; the given name follows, at most 20
// width units. Other names are "given [middle] surname", words separated by
// blanks, full stops and commas; words after the third are dropped.
NameFields splitName(const QString &text, const QStringList &compoundSurnames);

// The displayed name: surname and given name joined directly for a wide
// surname, else "given middle surname" with single spaces.
QString composeName(const QString &surName, const QString &givenName, const QString &midName);

// The surname's initial as the surname-initial grid shows it: a wide first
// character as it is, a first letter a to z in upper case, any other first
// character (a blank too) as it is; empty for a surname of blanks.
QString surnameInitial(const QString &surName);

} // namespace qv
