#include "RawZip.h"

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
    m.compressedSize = static_cast<std::uint32_t>(content.size());
    m.size = static_cast<std::uint32_t>(content.size());
    return m;
}

RawMember deflatedMember(const QByteArray &name, const QByteArray &content)
{
    RawMember m = storedMember(name, content);
    m.method = 8;
    m.data = rawDeflate(content);
    m.compressedSize = static_cast<std::uint32_t>(m.data.size());
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
    member.compressedSize = static_cast<std::uint32_t>(body.size());
    return member;
}

QByteArray composeZip(const QList<RawMember> &members, const RawZipOptions &options)
{
    QByteArray out;
    QList<std::uint32_t> offsets;
    for (const RawMember &m : members) {
        offsets << static_cast<std::uint32_t>(out.size());
        appendU32(out, kLocalHeaderSignature);
        appendU16(out, 20);
        appendU16(out, m.flags);
        appendU16(out, m.method);
        appendU16(out, m.dosTime);
        appendU16(out, 0x5921);
        appendU32(out, m.zeroSizesInLocalHeader ? 0 : m.crc);
        appendU32(out, m.zeroSizesInLocalHeader ? 0 : m.compressedSize);
        appendU32(out, m.zeroSizesInLocalHeader ? 0 : m.size);
        appendU16(out, static_cast<std::uint16_t>(m.name.size()));
        appendU16(out, 0);
        out.append(m.name);
        out.append(m.data);
        if (m.flags & kFlagDataDescriptor) {
            appendU32(out, kDataDescriptorSignature);
            appendU32(out, m.crc);
            appendU32(out, m.compressedSize);
            appendU32(out, m.size);
        }
    }
    if (!options.centralDirectory)
        return out;
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    for (qsizetype i = 0; i < members.size(); ++i) {
        const RawMember &m = members[i];
        appendU32(out, kCentralHeaderSignature);
        appendU16(out, 20);
        appendU16(out, 20);
        appendU16(out, m.flags);
        appendU16(out, m.method);
        appendU16(out, m.dosTime);
        appendU16(out, 0x5921);
        appendU32(out, m.crc);
        appendU32(out, m.compressedSize);
        appendU32(out, m.size);
        appendU16(out, static_cast<std::uint16_t>(m.name.size()));
        appendU16(out, 0);
        appendU16(out, 0);
        appendU16(out, 0);
        appendU16(out, 0);
        appendU32(out, 0);
        appendU32(out, offsets[i]);
        out.append(m.name);
    }
    const auto directorySize = static_cast<std::uint32_t>(out.size() - directoryOffset);
    if (options.zip64Locator) {
        appendU32(out, kZip64LocatorSignature);
        out.append(16, '\0');
    }
    appendU32(out, kEndRecordSignature);
    appendU16(out, options.disk);
    appendU16(out, options.disk);
    appendU16(out, static_cast<std::uint16_t>(members.size()));
    appendU16(out, static_cast<std::uint16_t>(members.size()));
    appendU32(out, directorySize);
    appendU32(out, directoryOffset);
    appendU16(out, 0);
    return out;
}

} // namespace qv::test
