// Any bytes as a package: the reader must report errors, never crash, never
// write a member that failed its checks. The first byte chooses whether a
// password provider answers.
#include "data/archive/PackageReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace qv::archive;
    if (size == 0)
        return 0;
    const bool withPassword = data[0] & 1;
    const QByteArray archive(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));

    UnpackSinks sinks;
    if (withPassword)
        sinks.password = [](const QString &) { return PasswordAnswer{QStringLiteral("pw"), true}; };
    sinks.error = [](ArchiveCode, const QString &) {};
    sinks.memberEnd = [](const QString &, bool) {};
    KnownPasswords known;
    MemoryTarget target;
    const int written = unpack(archive, target, known, sinks);
    if (target.files.size() > written)
        __builtin_trap();
    for (auto it = target.files.cbegin(); it != target.files.cend(); ++it) {
        const QString &name = it.key();
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QLatin1String(".."))
            __builtin_trap(); // a name that could leave the target directory
    }
    return 0;
}
