#pragma once

#include <QStringList>

namespace qv {

// The positions (job titles) typed into the entry editor since the program
// started, sorted as the user's language sorts them, each once whatever its
// letter case. They fill the Position field's list and complete what is typed.
class KnownPositions {
public:
    // Adds a position unless it is blank or known already, ignoring case.
    void add(const QString &position);
    const QStringList &list() const { return m_list; }
    // The first known position, in sorted order, that begins with the typed
    // text, letter case included; empty when none does or nothing is typed.
    QString completionOf(const QString &typed) const;

private:
    QStringList m_list;
};

} // namespace qv
