// Any bytes as a .wab file: the contacts are read, or a WabError says why
// not; nothing else may happen.
#include "exchange/wab/WabContacts.h"
#include "exchange/wab/WabFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    try {
        const QList<qv::AddressBookContact> contacts = qv::wab::readWabContacts(bytes, QLocale(QLocale::Chinese, QLocale::China));
        // A contact costs a record header of the file at least.
        if (contacts.size() > bytes.size() / 32)
            __builtin_trap();
    } catch (const qv::wab::WabError &) {
    }
    return 0;
}
