#pragma once

#include <QList>
#include <QString>

namespace qv {

enum class RecipientKind { To, Cc, Bcc };

// "To", "CC" or "BCC", as the recipient list and its dialog show a kind.
QString recipientKindName(RecipientKind kind);

// One person the next e-mail goes to, and in which header.
struct Recipient {
    RecipientKind kind = RecipientKind::To;
    QString name;
    QString address;

    // "Name <address>", the text the recipients dialog shows.
    QString mailbox() const;
    // "To=Name <address>": what the list orders and compares.
    QString entry() const;
};

// The recipients gathered for the next e-mail: in case-insensitive order of
// their entries, each entry once (an equal one, ignoring case, is not added).
class RecipientList {
public:
    // False when an equal entry is already there.
    bool add(const Recipient &recipient);
    void clear() { m_entries.clear(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const QList<Recipient> &entries() const { return m_entries; }
    // To before CC before BCC, each kind in list order: the rows of the recipients dialog.
    QList<Recipient> byKind() const;

private:
    QList<Recipient> m_entries;
};

} // namespace qv
