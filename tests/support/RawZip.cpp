#include "RawZip.h"

#include "data/archive/AesCipher.h"
#include "data/archive/TraditionalCipher.h"
#include "data/archive/ZipFormat.h"

#include <zlib.h>

namespace qv::test {

using namespace qv::archive;

std::uint32_t crcOf(const QByteArray &data)
{
    return static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef *>(data.constData()), static_cast<z_size_t>(data.size())));
}

QByteArray rawDeflate(const QByteArray &data)
{
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&zs, static_cast<uLong>(data.size()))), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.truncate(static_cast<qsizetype>(zs.total_out));
    deflateEnd(&zs);
    return out;
}

RawMember storedMember(const QByteArray &name, const QByteArray &content)
{
    RawMember m;
    m.name = name;
    m.data = content;
    m.method = 0;
    m.crc = crcOf(content);
    m.compressedSize = static_cast<std::uint64_t>(content.size());
    m.size = static_cast<std::uint64_t>(content.size());
    return m;
}

RawMember deflatedMember(const QByteArray &name, const QByteArray &content)
{
    RawMember m = storedMember(name, content);
    m.method = 8;
    m.data = rawDeflate(content);
    m.compressedSize = static_cast<std::uint64_t>(m.data.size());
    return m;
}

RawMember encrypted(RawMember member, const QByteArray &password)
{
    QByteArray header(TraditionalCipher::kHeaderSize, '\x5a');
    header[11] = static_cast<char>((member.flags & kFlagDataDescriptor) ? member.dosTime >> 8 : member.crc >> 24);
    QByteArray body = header + member.data;
    TraditionalCipher(password).encrypt(body.data(), body.size());
    member.data = body;
    member.flags |= kFlagEncrypted;
    member.compressedSize = static_cast<std::uint64_t>(body.size());
    return member;
}

QByteArray aesExtraField(std::uint16_t vendorVersion, std::uint16_t vendorId, int strength, std::uint16_t method)
{
    QByteArray extra;
    appendU16(extra, 0x9901);
    appendU16(extra, 7);
    appendU16(extra, vendorVersion);
    appendU16(extra, vendorId);
    extra.append(static_cast<char>(strength));
    appendU16(extra, method);
    return extra;
}

RawMember aesEncrypted(RawMember member, const QByteArray &password, std::uint16_t vendorVersion, int strength)
{
    const QByteArray salt(AesCipher::saltSize(strength), '\x3c');
    AesCipher cipher(password, salt, strength);
    QByteArray data = member.data;
    cipher.apply(data.data(), data.size());
    member.data = salt + cipher.verifier() + data + cipher.authenticationCode(data.constData(), data.size());
    member.extra = aesExtraField(vendorVersion, 0x4541, strength, member.method);
    member.method = 99;
    member.flags |= kFlagEncrypted;
    member.compressedSize = static_cast<std::uint64_t>(member.data.size());
    if (vendorVersion == 2)
        member.crc = 0;
    return member;
}

namespace {

std::uint32_t marked32(bool zip64, std::uint64_t value)
{
    return zip64 ? kZip64Marker32 : static_cast<std::uint32_t>(value);
}

QByteArray zip64Extra(QByteArray values, int missingBytes)
{
    if (values.isEmpty())
        return {};
    values.chop(missingBytes);
    QByteArray extra;
    appendU16(extra, kZip64ExtraId);
    appendU16(extra, static_cast<std::uint16_t>(values.size()));
    return extra + values;
}

} // namespace

QByteArray composeZip(const QList<RawMember> &members, const RawZipOptions &options)
{
    QByteArray out;
    QList<std::uint32_t> offsets;
    for (const RawMember &m : members) {
        offsets << static_cast<std::uint32_t>(out.size());
        const std::uint64_t compressedSize = m.zeroSizesInLocalHeader ? 0 : m.compressedSize;
        const std::uint64_t size = m.zeroSizesInLocalHeader ? 0 : m.size;
        QByteArray zip64Values;
        if (m.zip64LocalSizes) {
            appendU64(zip64Values, size);
            appendU64(zip64Values, compressedSize);
        }
        const QByteArray extra = zip64Extra(zip64Values, m.zip64MissingBytes) + m.extra;
        appendU32(out, kLocalHeaderSignature);
        appendU16(out, m.zip64LocalSizes ? 45 : 20);
        appendU16(out, m.flags);
        appendU16(out, m.localMethod.value_or(m.method));
        appendU16(out, m.dosTime);
        appendU16(out, 0x5921);
        appendU32(out, m.zeroSizesInLocalHeader ? 0 : m.crc);
        appendU32(out, marked32(m.zip64LocalSizes, compressedSize));
        appendU32(out, marked32(m.zip64LocalSizes && !m.zip64LocalSizeInField, size));
        appendU16(out, static_cast<std::uint16_t>(m.name.size()));
        appendU16(out, static_cast<std::uint16_t>(extra.size()));
        out.append(m.name);
        out.append(extra);
        out.append(m.data);
        if (m.flags & kFlagDataDescriptor) {
            appendU32(out, kDataDescriptorSignature);
            appendU32(out, m.crc);
            if (m.zip64LocalSizes) {
                appendU64(out, m.compressedSize);
                appendU64(out, m.size);
            } else {
                appendU32(out, static_cast<std::uint32_t>(m.compressedSize));
                appendU32(out, static_cast<std::uint32_t>(m.size));
            }
        }
    }
    if (!options.centralDirectory)
        return out;
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    for (qsizetype i = 0; i < members.size(); ++i) {
        const RawMember &m = members[i];
        QByteArray zip64Values;
        if (m.zip64Size)
            appendU64(zip64Values, m.size);
        if (m.zip64CompressedSize)
            appendU64(zip64Values, m.compressedSize);
        if (m.zip64Offset)
            appendU64(zip64Values, offsets[i]);
        if (m.zip64Disk)
            appendU32(zip64Values, m.disk);
        const QByteArray extra = zip64Extra(zip64Values, m.zip64MissingBytes) + m.extra;
        appendU32(out, kCentralHeaderSignature);
        appendU16(out, extra.isEmpty() ? 20 : 45);
        appendU16(out, extra.isEmpty() ? 20 : 45);
        appendU16(out, m.flags);
        appendU16(out, m.method);
        appendU16(out, m.dosTime);
        appendU16(out, 0x5921);
        appendU32(out, m.crc);
        appendU32(out, marked32(m.zip64CompressedSize, m.compressedSize));
        appendU32(out, marked32(m.zip64Size, m.size));
        appendU16(out, static_cast<std::uint16_t>(m.name.size()));
        appendU16(out, static_cast<std::uint16_t>(extra.size()));
        appendU16(out, 0);
        appendU16(out, m.zip64Disk ? kZip64Marker16 : static_cast<std::uint16_t>(m.disk));
        appendU16(out, 0);
        appendU32(out, 0);
        appendU32(out, marked32(m.zip64Offset, offsets[i]));
        out.append(m.name);
        out.append(extra);
    }
    const auto directorySize = static_cast<std::uint32_t>(out.size() - directoryOffset);
    if (options.zip64EndRecords) {
        const auto recordOffset = static_cast<std::uint64_t>(out.size());
        appendU32(out, kZip64EndRecordSignature);
        appendU64(out, kZip64EndRecordSize - 12); // the record's size after this field
        appendU16(out, 45);
        appendU16(out, 45);
        appendU32(out, options.disk);
        appendU32(out, options.disk);
        appendU64(out, static_cast<std::uint64_t>(members.size()));
        appendU64(out, static_cast<std::uint64_t>(members.size()));
        appendU64(out, directorySize);
        appendU64(out, directoryOffset);
        appendU32(out, kZip64LocatorSignature);
        appendU32(out, options.disk);
        appendU64(out, recordOffset);
        appendU32(out, 1); // total number of disks
    }
    const bool marked = options.zip64EndMarkers;
    appendU32(out, kEndRecordSignature);
    appendU16(out, marked ? kZip64Marker16 : options.disk);
    appendU16(out, marked ? kZip64Marker16 : options.disk);
    appendU16(out, marked ? kZip64Marker16 : static_cast<std::uint16_t>(members.size()));
    appendU16(out, marked ? kZip64Marker16 : static_cast<std::uint16_t>(members.size()));
    appendU32(out, marked32(marked, directorySize));
    appendU32(out, marked32(marked, directoryOffset));
    appendU16(out, 0);
    return out;
}

} // namespace qv::test
