// Write, then read: whatever members and password the input makes, reading
// our own archive gives them back unchanged and reports nothing, with either cipher.
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace qv::archive;
    // Input: password, then members, separated by NUL bytes.
    const QList<QByteArray> pieces = QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    const QString password = QString::fromLatin1(pieces.first());
    QList<PackMember> members;
    for (qsizetype i = 1; i < pieces.size(); ++i)
        members << PackMember{QStringLiteral("m%1.dff").arg(i), pieces[i], QDateTime(QDate(2020, 1, 2), QTime(3, 4, 6))};

    for (PackageCipher cipher : {PackageCipher::Traditional, PackageCipher::Aes256}) {
        bool failed = false;
        UnpackSinks sinks;
        sinks.password = [&](const QString &) { return PasswordAnswer{password, true}; };
        sinks.error = [&](ArchiveCode, const QString &) { failed = true; };
        KnownPasswords known;
        MemoryTarget target;
        const int written = unpack(buildArchive(members, password, cipher), target, known, sinks);
        if (failed || written != members.size())
            __builtin_trap();
        for (const PackMember &m : members) {
            if (target.files.value(m.name) != m.data)
                __builtin_trap();
        }
    }
    return 0;
}
