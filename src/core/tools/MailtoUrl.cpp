#include "tools/MailtoUrl.h"

#include <QStringList>
#include <QUrl>

namespace qv {

namespace {

// Characters that end or split a display name in an address header.
bool needsQuotes(const QString &name)
{
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    return std::any_of(name.begin(), name.end(), [](QChar c) { return specials.contains(c); });
}

QString quoted(QString name)
{
    name.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    name.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString encoded(const QString &value)
{
    // Only the unreserved characters and "@" stay as they are.
    return QString::fromLatin1(QUrl::toPercentEncoding(value, "@"));
}

} // namespace

QString mailboxHeaderText(const Recipient &recipient)
{
    const QString name = recipient.name.trimmed();
    if (name.isEmpty())
        return recipient.address;
    return (needsQuotes(name) ? quoted(name) : name) + QStringLiteral(" <") + recipient.address + QLatin1Char('>');
}

QString mailtoUrl(const QList<Recipient> &recipients)
{
    QStringList fields;
    for (const auto &[kind, header] : {std::pair{RecipientKind::To, "to"}, std::pair{RecipientKind::Cc, "cc"},
                                       std::pair{RecipientKind::Bcc, "bcc"}}) {
        QStringList mailboxes;
        for (const Recipient &r : recipients) {
            if (r.kind == kind)
                mailboxes << encoded(mailboxHeaderText(r));
        }
        if (!mailboxes.isEmpty())
            fields << QString::fromLatin1(header) + QLatin1Char('=') + mailboxes.join(QLatin1Char(','));
    }
    return QStringLiteral("mailto:?") + fields.join(QLatin1Char('&'));
}

} // namespace qv
