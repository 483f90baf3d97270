#include "editing/KnownPositions.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace qv {

void KnownPositions::add(const QString &position)
{
    if (position.trimmed().isEmpty())
        return;
    const bool known = std::any_of(m_list.cbegin(), m_list.cend(),
                                   [&](const QString &p) { return p.compare(position, Qt::CaseInsensitive) == 0; });
    if (known)
        return;
    QCollator collator{QLocale::system()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto at = std::lower_bound(m_list.begin(), m_list.end(), position,
                                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    m_list.insert(at, position);
}

QString KnownPositions::completionOf(const QString &typed) const
{
    if (typed.isEmpty())
        return {};
    const auto match = std::find_if(m_list.cbegin(), m_list.cend(), [&](const QString &p) { return p.startsWith(typed); });
    return match == m_list.cend() ? QString() : *match;
}

} // namespace qv
