#pragma once

#include <QString>
#include <QStringList>

namespace qv {

struct NameFields {
    QString surName;
    QString givenName;
    QString midName;
    int code = 2; // 1: a wide-character name; 2: up to three words; 0: more than three words
    bool operator==(const NameFields &) const = default;
};

// Splits a typed name into surname, given name and middle name; no word is
// lost. A name beginning with a wide character (Chinese, Japanese, Korean) is
// surname first: two characters when they are a listed compound surname, else
// one; the rest is the given name. Other names are "given [middle] surname",
// words separated by blanks, full stops and commas: the first word is the
// given name, the last the surname, the words between the middle name. A
// surname may begin with lower-case particles ("del Rio", "van der Berg",
// "de la Cruz"): from the first particle after the given name on, the words
// are the surname.
NameFields splitName(const QString &text, const QStringList &compoundSurnames);

// The Name a typed name is kept as: every character typed stays; only blanks
// go, those around the name and all but one of a run. A wide-character name
// is written without a blank between surname and given name, as it is composed.
QString keptName(const QString &text, const NameFields &split);

// The displayed name: surname and given name joined directly for a wide
// surname, else "given middle surname" with single spaces.
QString composeName(const QString &surName, const QString &givenName, const QString &midName);

// The surname's initial as the surname-initial grid shows it: a wide first
// character as it is, a first letter a to z in upper case, any other first
// character (a blank too) as it is; empty for a surname of blanks.
QString surnameInitial(const QString &surName);

} // namespace qv
