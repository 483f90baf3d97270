#pragma once

#include "common/Error.h"

#include <QByteArrayView>
#include <QList>

namespace qv::wab {

// Why a .wab file cannot be read; the text says what is wrong inside it.
class WabError : public Error {
public:
    enum class Kind { NotAnAddressBook, OlderVariant, Damaged };
    WabError(Kind kind, QString what) : Error(std::move(what)), m_kind(kind) {}
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// MAPI property types the records use (the low 16 bits of a tag).
enum PropertyType : quint16 {
    Int16 = 0x0002,
    Int32 = 0x0003,
    Boolean = 0x000B,
    String8 = 0x001E,
    Unicode = 0x001F,
    FileTime = 0x0040,
    Guid = 0x0048,
    Binary = 0x0102,
    MultiValued = 0x1000,
};

struct WabProperty {
    quint32 tag = 0; // property id in the high 16 bits, type in the low
    QList<QByteArrayView> values; // one for a single value; the items of a list
    quint16 id() const { return quint16(tag >> 16); }
    quint16 type() const { return quint16(tag); }
};

struct WabRecord {
    quint32 id = 0;
    QList<WabProperty> properties;
};

// The syntax layer of a .wab file: the live records its index lists, in
// index order, each with its properties as stored. Deleted records are
// passed over. Every count, length and offset is checked against the bytes
// before it is used; records may not overlap, so that reading costs no more
// than the file's size. The values point into the bytes, which must outlive
// the records. Throws WabError.
QList<WabRecord> readWabRecords(QByteArrayView bytes);

} // namespace qv::wab
