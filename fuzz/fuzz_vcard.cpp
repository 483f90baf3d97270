// Any bytes as a vCard file: the reader finds its cards or says why one is
// broken, and never fails otherwise. Every good card is then written in each
// version, and our own text must read back as one good card that writes out
// the same again, with no folded line over 75 octets.
#include "exchange/vcard/VCard.h"
#include "exchange/vcard/VCardReader.h"
#include "exchange/vcard/VCardWriter.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace qv::vcard;

void touchEveryGetter(const VCard &card)
{
    (void)card.familyName();
    (void)card.givenName();
    (void)card.additionalNames();
    (void)card.formattedName();
    (void)card.title();
    (void)card.birthday();
    (void)card.organisationText();
    for (int i = 0; i < card.telephoneCount(); ++i)
        (void)card.telephoneTypes(i);
    for (int i = 0; i < card.emailCount(); ++i)
        (void)card.emailType(i);
    for (int i = 0; i < card.addressCount(); ++i)
        (void)card.address(i);
    for (int i = 0; i < card.noteCount(); ++i)
        (void)card.noteTypes(i);
    for (int i = 0; i < card.urlCount(); ++i)
        (void)card.urlTypes(i);
}

QByteArray written(const VCardObject &card, VCardVersion version)
{
    QByteArray out;
    appendVCard(out, card, version);
    return out;
}

void checkLineLengths(const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        if (line.size() > 76) // 75 octets and the CR
            __builtin_trap();
    }
}

void checkRewrite(const VCardObject &card, VCardVersion version)
{
    const QByteArray first = written(card, version);
    const auto again = readVCards(first);
    if (again.size() != 1 || again[0].isBroken())
        __builtin_trap();
    // The first writing settles what the version cannot say; after it the
    // text stays as it is.
    const QByteArray second = written(again[0].card, version);
    const auto third = readVCards(second);
    if (third.size() != 1 || written(third[0].card, version) != second)
        __builtin_trap();
    if (version != VCardVersion::V21)
        checkLineLengths(first);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const ReadCard &card : readVCards(file, QLocale(QLocale::Chinese, QLocale::China))) {
        if (card.isBroken())
            continue;
        touchEveryGetter(VCard(card.card));
        for (VCardVersion version : {VCardVersion::V21, VCardVersion::V30, VCardVersion::V40})
            checkRewrite(card.card, version);
    }
    return 0;
}
