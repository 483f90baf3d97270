#include "exchange/vcard/VCardFlags.h"

#include <QString>

#include <span>

namespace qv::vcard {

namespace {

struct FlagName {
    quint16 bit;
    QString name;
};

// In the order the parameters are written.
std::span<const FlagName> typeFlagNames()
{
    static const FlagName names[] = {
        {TypeFlag::Pref, QStringLiteral("PREF")},   {TypeFlag::Work, QStringLiteral("WORK")},
        {TypeFlag::Home, QStringLiteral("HOME")},   {TypeFlag::Voice, QStringLiteral("VOICE")},
        {TypeFlag::Fax, QStringLiteral("FAX")},     {TypeFlag::Msg, QStringLiteral("MSG")},
        {TypeFlag::Cell, QStringLiteral("CELL")},   {TypeFlag::Pager, QStringLiteral("PAGER")},
        {TypeFlag::Bbs, QStringLiteral("BBS")},     {TypeFlag::Modem, QStringLiteral("MODEM")},
        {TypeFlag::Car, QStringLiteral("CAR")},     {TypeFlag::Video, QStringLiteral("VIDEO")},
        {TypeFlag::Isdn, QStringLiteral("ISDN")},
    };
    return names;
}

std::span<const FlagName> addressFlagNames()
{
    static const FlagName names[] = {
        {AddressFlag::Domestic, QStringLiteral("DOM")},
        {AddressFlag::International, QStringLiteral("INTL")},
        {AddressFlag::Postal, QStringLiteral("POSTAL")},
        {AddressFlag::Parcel, QStringLiteral("PARCEL")},
        {AddressFlag::Home, QStringLiteral("HOME")},
        {AddressFlag::Work, QStringLiteral("WORK")},
        {AddressFlag::QuotedPrintable, QStringLiteral("QUOTED-PRINTABLE")},
    };
    return names;
}

std::span<const FlagName> noteFlagNames()
{
    static const FlagName names[] = {
        {NoteFlag::Base64, QStringLiteral("BASE64")},
        {NoteFlag::EightBit, QStringLiteral("8BIT")},
        {NoteFlag::QuotedPrintable, QStringLiteral("QUOTED-PRINTABLE")},
        {NoteFlag::Work, QStringLiteral("WORK")},
        {NoteFlag::Home, QStringLiteral("HOME")},
    };
    return names;
}

const QString &emailTypeNames(int type)
{
    static const QString names[NoEmailType + 1] = {
        QStringLiteral("AOL"),        QStringLiteral("APPLELINK"), QStringLiteral("ATTMAIL"),
        QStringLiteral("CIS"),        QStringLiteral("EWORLD"),    QStringLiteral("INTERNET"),
        QStringLiteral("IBMMail"),    QStringLiteral("MCIMAIL"),   QStringLiteral("POWERSHARE"),
        QStringLiteral("PRODIGY"),    QStringLiteral("TLX"),       QStringLiteral("X400"),
        QString(),
    };
    return names[type];
}

void addParameters(VCardObject &property, quint16 flags, std::span<const FlagName> table)
{
    for (const FlagName &flag : table) {
        if (flags & flag.bit)
            property.addParameter(flag.name);
    }
}

quint16 flagsOf(const VCardObject &property, std::span<const FlagName> table)
{
    quint16 flags = 0;
    for (const VCardObject &child : property.children()) {
        if (child.hasValue())
            continue;
        for (const FlagName &flag : table) {
            if (child.name() == flag.name)
                flags |= flag.bit;
        }
    }
    return flags;
}

} // namespace

void addTypeParameters(VCardObject &property, quint16 flags)
{
    addParameters(property, flags, typeFlagNames());
}

void addAddressParameters(VCardObject &property, quint8 flags)
{
    addParameters(property, flags, addressFlagNames());
}

void addNoteParameters(VCardObject &property, quint8 flags)
{
    addParameters(property, flags, noteFlagNames());
}

quint16 typeFlags(const VCardObject &property)
{
    return flagsOf(property, typeFlagNames());
}

quint8 addressFlags(const VCardObject &property)
{
    return static_cast<quint8>(flagsOf(property, addressFlagNames()) & ~AddressFlag::QuotedPrintable);
}

quint8 noteFlags(const VCardObject &property)
{
    return static_cast<quint8>(flagsOf(property, noteFlagNames()));
}

QString emailTypeName(int type)
{
    return type >= 0 && type < NoEmailType ? emailTypeNames(type) : QString();
}

// Read without regard to case: a parsed card holds its parameters in
// capitals, where the table writes "IBMMail".
int emailType(const VCardObject &property)
{
    int type = NoEmailType;
    for (const VCardObject &child : property.children()) {
        if (child.hasValue())
            continue;
        for (int t = 0; t < NoEmailType; ++t) {
            if (child.name().compare(emailTypeNames(t), Qt::CaseInsensitive) == 0)
                type = t;
        }
    }
    return type;
}

} // namespace qv::vcard
