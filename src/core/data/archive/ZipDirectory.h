#pragma once

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
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    qsizetype localHeaderOffset = 0;

    QString name() const;
};

struct LocalHeader {
    std::optional<ArchiveCode> error; // BadFileHeader: no local header there; ReadError: cut off
    MemberEntry entry;
    qsizetype dataOffset = 0; // first byte after the header, its name and extra field
};

// The central directory of an archive, or why it cannot be used.
struct CentralDirectory {
    bool found = false; // false: no end record, walk the local headers instead
    std::optional<ArchiveCode> error;
    QList<MemberEntry> members;
};

CentralDirectory readCentralDirectory(const QByteArray &archive);

// Reads the local header at the offset; a data descriptor signature in front
// of it is skipped.
LocalHeader readLocalHeader(const QByteArray &archive, qsizetype offset);

} // namespace qv::archive
