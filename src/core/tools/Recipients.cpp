#include "tools/Recipients.h"

#include <algorithm>

namespace qv {

QString recipientKindName(RecipientKind kind)
{
    switch (kind) {
    case RecipientKind::To: return QStringLiteral("To");
    case RecipientKind::Cc: return QStringLiteral("CC");
    case RecipientKind::Bcc: return QStringLiteral("BCC");
    }
    return {};
}

QString Recipient::mailbox() const
{
    return name + QStringLiteral(" <") + address + QLatin1Char('>');
}

QString Recipient::entry() const
{
    return recipientKindName(kind) + QLatin1Char('=') + mailbox();
}

bool RecipientList::add(const Recipient &recipient)
{
    const QString entry = recipient.entry();
    const auto place = std::lower_bound(m_entries.begin(), m_entries.end(), entry, [](const Recipient &r, const QString &e) {
        return r.entry().compare(e, Qt::CaseInsensitive) < 0;
    });
    if (place != m_entries.end() && place->entry().compare(entry, Qt::CaseInsensitive) == 0)
        return false;
    m_entries.insert(place, recipient);
    return true;
}

QList<Recipient> RecipientList::byKind() const
{
    QList<Recipient> rows = m_entries;
    std::stable_sort(rows.begin(), rows.end(), [](const Recipient &a, const Recipient &b) { return a.kind < b.kind; });
    return rows;
}

} // namespace qv
