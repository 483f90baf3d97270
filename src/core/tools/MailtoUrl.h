#pragma once

#include "tools/Recipients.h"

namespace qv {

// The "mailto:" URL that starts a message to the recipients: one "to", "cc"
// and "bcc" field each, holding that kind's mailboxes in the given order.
// Values are percent-encoded (UTF-8) so that "&", "?", "%", "=", "#" and
// spaces in names or addresses reach the mail program as they are; a display
// name with characters that have a meaning in an address is quoted.
QString mailtoUrl(const QList<Recipient> &recipients);

// "Name <address>" with the name quoted where it has to be, or the bare address.
QString mailboxHeaderText(const Recipient &recipient);

} // namespace qv
