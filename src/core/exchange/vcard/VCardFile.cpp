#include "exchange/vcard/VCardFile.h"

#include "common/Error.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCardWriter.h"

#include <QDir>
#include <QSaveFile>

namespace qv::vcard {

namespace {

constexpr qsizetype kFlushSize = 256 * 1024;

bool flush(QIODevice &out, QByteArray &bytes)
{
    const bool written = out.write(bytes) == bytes.size();
    bytes.clear();
    return written;
}

} // namespace

bool writeVCards(QIODevice &out, const EntryCards &cards, const std::vector<int> &rows, VCardVersion version)
{
    QByteArray bytes;
    bytes.reserve(kFlushSize + 4096);
    for (int row : rows) {
        appendVCard(bytes, cards.cardOf(row).object(), version);
        if (bytes.size() >= kFlushSize && !flush(out, bytes))
            return false;
    }
    return flush(out, bytes);
}

void writeVCardFile(const QString &path, const EntryCards &cards, const std::vector<int> &rows, VCardVersion version)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !writeVCards(file, cards, rows, version) || !file.commit()) {
        file.cancelWriting();
        throw Error(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace qv::vcard
