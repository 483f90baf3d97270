#pragma once

#include "data/archive/AesExtraField.h"
#include "data/archive/ArchiveError.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace qv::archive {

// One member as a header describes it.
struct MemberEntry {
    QByteArray rawName;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0; // from the ZIP64 extra field where the header holds 0xFFFFFFFF
    std::uint64_t size = 0;
    qsizetype localHeaderOffset = 0; // an offset beyond the archive becomes its size
    bool zip64 = false; // the header has a ZIP64 extra field: a data descriptor after the data holds 8-byte sizes
    std::optional<AesExtraField> aes; // the header's AE-x field, readable

    QString name() const;
};

struct LocalHeader {
    // BadFileHeader: no local header there, or a size it leaves to a ZIP64 extra field that
    // is missing; ReadError: cut off
    std::optional<ArchiveCode> error;
    MemberEntry entry;
    qsizetype dataOffset = 0; // first byte after the header, its name and extra field
};

// The central directory of an archive, or why it cannot be used.
struct CentralDirectory {
    bool found = false; // false: no end record, walk the local headers instead
    std::optional<ArchiveCode> error;
    QList<MemberEntry> members;
};

// Reads the end record, with the ZIP64 end record and its locator when they
// are there, and the central directory it points to.
CentralDirectory readCentralDirectory(const QByteArray &archive);

// Reads the local header at the offset; a data descriptor (with 32-bit or
// ZIP64 sizes) in front of it is skipped.
LocalHeader readLocalHeader(const QByteArray &archive, qsizetype offset);

} // namespace qv::archive
