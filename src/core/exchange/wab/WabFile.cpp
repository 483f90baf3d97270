#include "exchange/wab/WabFile.h"

#include "common/ByteReader.h"

#include <QMap>

#include <optional>

#include <cstring>

namespace qv::wab {

namespace {

constexpr char kMagic[16] = {'\x9C', '\xCB', '\xCB', '\x8D', '\x13', '\x75', '\xD2', '\x11',
                             '\x91', '\x58', '\x00', '\xC0', '\x4F', '\x79', '\x56', '\xA4'};
constexpr char kOlderMagic[4] = {'\x81', '\x32', '\x84', '\xC1'};
constexpr int kTableDescriptors = 6;
constexpr quint32 kIndexTable = 0x0FA0;
constexpr int kRecordHeaderSize = 32;
constexpr quint32 kLiveRecord = 1;

[[noreturn]] void damaged(const QString &what)
{
    throw WabError(WabError::Kind::Damaged, what);
}

struct IndexEntry {
    quint32 recordId;
    quint32 offset;
};

void checkMagic(QByteArrayView bytes)
{
    if (bytes.size() >= 16 && std::memcmp(bytes.data(), kMagic, 16) == 0)
        return;
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), kOlderMagic, 4) == 0)
        throw WabError(WabError::Kind::OlderVariant, QStringLiteral("it is of the older variant"));
    throw WabError(WabError::Kind::NotAnAddressBook, QStringLiteral("it does not begin as an address book file"));
}

QList<IndexEntry> readIndex(ByteReader &r)
{
    r.seek(16 + 8, "the header"); // two numbers of unknown meaning follow the magic
    for (int t = 0; t < kTableDescriptors; ++t) {
        const quint32 type = r.u32("the table list");
        const quint32 entrySize = r.u32("the table list");
        const quint32 offset = r.u32("the table list");
        const quint32 count = r.u32("the table list");
        if (type != kIndexTable)
            continue;
        if (entrySize < 8)
            damaged(QStringLiteral("its index has entries of %1 bytes").arg(entrySize));
        r.seek(offset, "the index");
        const quint64 indexSize = quint64(count) * entrySize; // both below 2^32: no overflow
        if (indexSize > quint64(r.left()))
            damaged(QStringLiteral("the index runs past the end of the file"));
        const QByteArrayView entries = r.take(qint64(indexSize), "the index");
        QList<IndexEntry> list;
        list.reserve(qsizetype(count));
        for (quint32 i = 0; i < count; ++i) {
            const QByteArrayView entry = entries.sliced(qsizetype(i) * entrySize, 8);
            list << IndexEntry{quint32(littleEndian(entry.first(4))), quint32(littleEndian(entry.sliced(4)))};
        }
        return list;
    }
    damaged(QStringLiteral("it has no index of its records"));
}

// Lists of strings and binaries hold (length, bytes) items.
bool hasItemsWithLengths(quint16 type)
{
    return type == (MultiValued | String8) || type == (MultiValued | Unicode) || type == (MultiValued | Binary);
}

WabProperty readProperty(ByteReader &r)
{
    WabProperty property;
    property.tag = r.u32("a property");
    const bool multiValued = property.type() & MultiValued;
    const quint32 count = multiValued ? r.u32("a property") : 1;
    const QByteArrayView bytes = r.take(r.u32("a property"), "a property value");
    if (!multiValued || !hasItemsWithLengths(property.type())) {
        property.values << bytes;
        return property;
    }
    // Every item costs its length at least: a count the bytes cannot hold is refused first.
    if (count > quint64(bytes.size()) / 4)
        damaged(QStringLiteral("a list property declares %1 items").arg(count));
    ByteReader items(bytes, damaged);
    for (quint32 i = 0; i < count; ++i)
        property.values << items.take(items.u32("a list item"), "a list item");
    return property;
}

// Reads the record at the reader's position; false for a deleted one.
bool readRecord(ByteReader &r, WabRecord &record)
{
    const quint32 flag = r.u32("a record header");
    if (flag != kLiveRecord)
        return false;
    r.skip(4, "a record header");
    record.id = r.u32("a record header");
    const quint32 count = r.u32("a record header");
    r.skip(kRecordHeaderSize - 16, "a record header"); // 0x20, two equal numbers, the data length
    r.skip(qint64(count) * 4, "a record's property list"); // the tags again come with the values
    for (quint32 p = 0; p < count; ++p)
        record.properties << readProperty(r);
    return true;
}

} // namespace

QList<WabRecord> readWabRecords(QByteArrayView bytes)
{
    checkMagic(bytes);
    ByteReader reader(bytes, damaged);
    const QList<IndexEntry> index = readIndex(reader);

    // Records are read front to back and may not overlap.
    QMap<quint32, std::optional<WabRecord>> byOffset;
    for (const IndexEntry &entry : index)
        byOffset.insert(entry.offset, std::nullopt);
    qint64 end = 0;
    for (auto it = byOffset.begin(); it != byOffset.end(); ++it) {
        if (it.key() < end)
            damaged(QStringLiteral("its record at offset %1 overlaps the one before").arg(it.key()));
        reader.seek(it.key(), "a record");
        WabRecord record;
        if (readRecord(reader, record))
            it.value() = std::move(record);
        end = reader.position();
    }
    QList<WabRecord> records;
    for (const IndexEntry &entry : index) {
        auto &record = byOffset[entry.offset];
        if (record) {
            records << std::move(*record);
            record.reset(); // an offset listed twice is one record
        }
    }
    return records;
}

} // namespace qv::wab
