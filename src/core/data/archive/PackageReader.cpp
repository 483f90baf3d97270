#include "data/archive/PackageReader.h"

#include "common/PageBuffer.h"
#include "data/archive/AesPayload.h"
#include "data/archive/TraditionalCipher.h"
#include "data/archive/ZipDirectory.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libdeflate.h>
#include <zlib.h>

#include <optional>

namespace qv::archive {

namespace {

constexpr qsizetype kChunk = 256 * 1024;

// The outcome of copying one member's data to the target.
struct Extraction {
    std::optional<ArchiveCode> error;
    qsizetype end = 0; // one past the member's last data byte
    std::uint32_t crc = 0;
    qint64 written = 0;
};

class MemberReader {
public:
    MemberReader(const QByteArray &archive, UnpackTarget &target, KnownPasswords &known, const UnpackSinks &sinks)
        : m_archive(archive), m_target(target), m_known(known), m_sinks(sinks)
    {
    }

    // Extracts one member whose data starts at dataOffset. When the entry's
    // sizes come from a data descriptor not read yet, sizesKnown is false and
    // the member's end is where its Deflate stream ends. Returns where the
    // member's data ends, or nothing when that cannot be known.
    std::optional<qsizetype> extract(const MemberEntry &entry, qsizetype dataOffset, bool sizesKnown);

    int written() const { return m_written; }
    void report(ArchiveCode code, const QString &text = {}) const
    {
        if (m_sinks.error)
            m_sinks.error(code, text.isEmpty() ? archiveCodeText(code) : text);
    }

private:
    std::optional<QString> findPassword(const MemberEntry &entry, const std::function<bool(const QString &)> &fits);
    std::optional<TraditionalCipher> findTraditionalKeys(const MemberEntry &entry, const QByteArray &header);
    std::optional<QByteArray> openAes(const MemberEntry &entry, qsizetype begin, qsizetype end);
    Extraction copyData(const MemberEntry &entry, const QByteArray &source, qsizetype begin, qsizetype end,
                        std::optional<TraditionalCipher> &cipher, bool sizesKnown);
    void fail(const QString &name, ArchiveCode code, const QString &text = {}) const
    {
        report(code, text);
        memberEnd(name, false);
    }
    void memberEnd(const QString &name, bool passed) const
    {
        if (m_sinks.memberEnd)
            m_sinks.memberEnd(name, passed);
    }

    const QByteArray &m_archive;
    UnpackTarget &m_target;
    KnownPasswords &m_known;
    const UnpackSinks &m_sinks;
    int m_written = 0;
};

bool fits(TraditionalCipher cipher, QByteArray header, std::uint8_t check)
{
    cipher.decrypt(header.data(), header.size());
    return static_cast<std::uint8_t>(header.back()) == check;
}

// The first password that fits, tried in this order: the one used last, those
// accepted during this unpack, then up to three answers of the provider.
std::optional<QString> MemberReader::findPassword(const MemberEntry &entry, const std::function<bool(const QString &)> &fits)
{
    QStringList candidates;
    if (!m_known.lastUsed.isEmpty())
        candidates << m_known.lastUsed;
    for (const QString &p : std::as_const(m_known.accepted)) {
        if (!candidates.contains(p))
            candidates << p;
    }
    for (const QString &p : std::as_const(candidates)) {
        if (fits(p)) {
            m_known.lastUsed = p;
            return p;
        }
        if (p == m_known.lastUsed)
            m_known.lastUsed.clear();
    }

    for (int attempt = 0; attempt < 3 && m_sinks.password; ++attempt) {
        const PasswordAnswer answer = m_sinks.password(entry.name());
        if (!answer.tryAgain)
            break;
        if (fits(answer.password)) {
            m_known.lastUsed = answer.password;
            if (!m_known.accepted.contains(answer.password))
                m_known.accepted << answer.password;
            return answer.password;
        }
        report(ArchiveCode::InvalidPassword);
    }
    return std::nullopt;
}

std::optional<TraditionalCipher> MemberReader::findTraditionalKeys(const MemberEntry &entry, const QByteArray &header)
{
    // With a data descriptor the CRC is not known before the data, so the
    // check byte is the high byte of the time instead.
    const auto check = static_cast<std::uint8_t>((entry.flags & kFlagDataDescriptor) ? entry.dosTime >> 8 : entry.crc >> 24);
    const std::optional<QString> password
        = findPassword(entry, [&](const QString &p) { return fits(TraditionalCipher(p.toUtf8()), header, check); });
    if (!password)
        return std::nullopt;
    return TraditionalCipher(password->toUtf8());
}

// The member's compressed data, decrypted. A password fits when its verifier
// matches; the authentication code then decides, before anything is
// decrypted or inflated, whether the data is the one that was encrypted.
// Nothing when either fails; the failure is reported.
std::optional<QByteArray> MemberReader::openAes(const MemberEntry &entry, qsizetype begin, qsizetype end)
{
    const QString name = entry.name();
    const std::optional<AesPayload> payload = AesPayload::locate(m_archive, begin, end, entry.aes->strength);
    if (!payload) {
        fail(name, ArchiveCode::ReadError);
        return std::nullopt;
    }
    std::optional<AesCipher> cipher;
    const auto fitsVerifier = [&](const QString &p) {
        AesCipher candidate(p.toUtf8(), payload->salt, entry.aes->strength);
        if (candidate.verifier() != payload->verifier)
            return false;
        cipher = std::move(candidate);
        return true;
    };
    if (!findPassword(entry, fitsVerifier)) {
        fail(name, ArchiveCode::PasswordFailed);
        return std::nullopt;
    }
    std::optional<QByteArray> data = openAesPayload(*cipher, m_archive, *payload);
    if (!data) {
        const ArchiveCode code = ArchiveCode::AuthenticationFailed;
        fail(name, code, archiveCodeText(code) + QStringLiteral(": ") + name);
    }
    return data;
}

class Inflater {
public:
    Inflater() { m_ok = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK; }
    ~Inflater() { inflateEnd(&m_stream); }
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    bool ok() const { return m_ok; }
    z_stream &stream() { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ok = false;
};

// A Deflate member whose sizes are known is inflated in one call into a
// buffer of its stated size. Nothing when that does not yield exactly the
// stated size: the streaming path then finds out what is wrong and reports it.
std::optional<Extraction> inflateWhole(const QByteArray &archive, const MemberEntry &entry, qsizetype begin,
                                       qsizetype end, const std::optional<TraditionalCipher> &cipher,
                                       UnpackTarget &target)
{
    if (entry.size > std::uint64_t(kMaxMemberSize))
        return std::nullopt;
    // Plain data is read where it lies; encrypted data is decrypted into a copy
    // by a copy of the cipher, which the fallback needs at the data's start.
    QByteArray decrypted;
    const char *in = archive.constData() + begin;
    if (cipher) {
        decrypted = archive.mid(begin, end - begin);
        TraditionalCipher copy = *cipher;
        copy.decrypt(decrypted.data(), decrypted.size());
        in = decrypted.constData();
    }
    PageBuffer out(size_t(entry.size));
    libdeflate_decompressor *decompressor = libdeflate_alloc_decompressor();
    if (!decompressor)
        return std::nullopt;
    size_t used = 0;
    const libdeflate_result rc = libdeflate_deflate_decompress_ex(decompressor, in, size_t(end - begin),
                                                                  out.data(), out.size(), &used, nullptr);
    libdeflate_free_decompressor(decompressor);
    if (rc != LIBDEFLATE_SUCCESS)
        return std::nullopt;
    Extraction x;
    x.end = begin + qsizetype(used);
    x.crc = libdeflate_crc32(0, out.data(), out.size());
    x.written = qsizetype(out.size());
    if (!target.writeAll(std::move(out)))
        x.error = ArchiveCode::WriteError;
    return x;
}

Extraction MemberReader::copyData(const MemberEntry &entry, const QByteArray &source, qsizetype begin, qsizetype end,
                                  std::optional<TraditionalCipher> &cipher, bool sizesKnown)
{
    if (sizesKnown && entry.method == kMethodDeflated) {
        if (std::optional<Extraction> whole = inflateWhole(source, entry, begin, end, cipher, m_target))
            return *whole;
    }
    Extraction x;
    const qint64 limit = sizesKnown && entry.size < std::uint64_t(kMaxMemberSize) ? qint64(entry.size) : kMaxMemberSize;
    const bool deflated = entry.method == kMethodDeflated;
    Inflater inflater;
    if (deflated && !inflater.ok()) {
        x.error = ArchiveCode::OutOfMemory;
        return x;
    }
    QByteArray out(kChunk, Qt::Uninitialized);
    auto deliver = [&](const char *data, qsizetype size) {
        if (x.written + size > limit) {
            x.error = ArchiveCode::BadLengths;
            return false;
        }
        x.crc = libdeflate_crc32(x.crc, data, size_t(size));
        x.written += size;
        if (!m_target.write(data, size)) {
            x.error = ArchiveCode::WriteError;
            return false;
        }
        return true;
    };

    qsizetype pos = begin;
    bool finished = !deflated && begin == end;
    while (!finished) {
        if (pos >= end) {
            x.error = ArchiveCode::ReadError; // the data stops before the member does
            return x;
        }
        QByteArray chunk = source.mid(pos, std::min(kChunk, end - pos));
        if (cipher)
            cipher->decrypt(chunk.data(), chunk.size());
        if (!deflated) {
            if (!deliver(chunk.constData(), chunk.size()))
                return x;
            pos += chunk.size();
            finished = pos == end;
            continue;
        }
        z_stream &zs = inflater.stream();
        zs.next_in = reinterpret_cast<Bytef *>(chunk.data());
        zs.avail_in = static_cast<uInt>(chunk.size());
        while (true) {
            zs.next_out = reinterpret_cast<Bytef *>(out.data());
            zs.avail_out = static_cast<uInt>(out.size());
            const int rc = inflate(&zs, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                x.error = rc == Z_MEM_ERROR ? ArchiveCode::OutOfMemory : ArchiveCode::BadBlock;
                return x;
            }
            if (!deliver(out.constData(), out.size() - zs.avail_out))
                return x;
            if (rc == Z_STREAM_END) {
                finished = true;
                break;
            }
            if (zs.avail_in == 0 && zs.avail_out != 0)
                break; // the chunk is used up; read the next one
            if (rc == Z_BUF_ERROR) {
                x.error = ArchiveCode::BadBlock; // no progress possible
                return x;
            }
        }
        pos += chunk.size() - zs.avail_in;
    }
    x.end = pos;
    return x;
}

std::optional<qsizetype> MemberReader::extract(const MemberEntry &entry, qsizetype dataOffset, bool sizesKnown)
{
    const QString name = entry.name();
    const auto failWith = [&](ArchiveCode code) { fail(name, code); };
    const bool withinArchive = entry.compressedSize <= std::uint64_t(m_archive.size() - dataOffset);
    const qsizetype knownEnd = withinArchive ? dataOffset + qsizetype(entry.compressedSize) : m_archive.size();
    const std::optional<qsizetype> endIfKnown = sizesKnown ? std::optional<qsizetype>(knownEnd) : std::nullopt;

    if (entry.flags & (kFlagStrongEncryption | kFlagMaskedHeaders)) {
        failWith(ArchiveCode::UnsupportedArchive);
        return endIfKnown;
    }
    // An AES member's own compression method is in its extra field; without one it cannot be read.
    const bool aes = entry.method == kMethodAes;
    MemberEntry data = entry;
    if (aes && entry.aes)
        data.method = entry.aes->method;
    if (data.method != kMethodStored && data.method != kMethodDeflated) {
        failWith(ArchiveCode::UnsupportedMethod);
        return endIfKnown;
    }
    // Without its size an AES member's end would be found only by inflating data not yet authenticated.
    if (aes && (!(entry.flags & kFlagEncrypted) || !sizesKnown)) {
        failWith(ArchiveCode::UnsupportedArchive);
        return endIfKnown;
    }
    if (!sizesKnown && data.method == kMethodStored) {
        failWith(ArchiveCode::UnsupportedArchive); // a stored member's end cannot be found without its size
        return std::nullopt;
    }
    if (sizesKnown && !withinArchive) {
        failWith(ArchiveCode::ReadError);
        return std::nullopt;
    }
    const QString fileName = safeMemberName(name);
    if (fileName.isEmpty()) {
        failWith(ArchiveCode::OpenError);
        return endIfKnown;
    }

    const QByteArray *source = &m_archive;
    qsizetype begin = dataOffset;
    qsizetype end = sizesKnown ? knownEnd : m_archive.size();
    std::optional<PackageCipher> encryption;
    std::optional<TraditionalCipher> cipher;
    QByteArray decrypted;
    if (aes) {
        std::optional<QByteArray> opened = openAes(entry, begin, end);
        if (!opened)
            return endIfKnown;
        decrypted = std::move(*opened);
        source = &decrypted;
        begin = 0;
        end = decrypted.size();
        encryption = PackageCipher::Aes256;
    } else if (entry.flags & kFlagEncrypted) {
        const QByteArray header = m_archive.mid(begin, TraditionalCipher::kHeaderSize);
        if (header.size() < TraditionalCipher::kHeaderSize || (sizesKnown && entry.compressedSize < TraditionalCipher::kHeaderSize)) {
            failWith(ArchiveCode::ReadError);
            return std::nullopt;
        }
        cipher = findTraditionalKeys(entry, header);
        if (!cipher) {
            failWith(ArchiveCode::PasswordFailed);
            return endIfKnown;
        }
        cipher->decrypt(QByteArray(header).data(), header.size());
        begin += TraditionalCipher::kHeaderSize;
        encryption = PackageCipher::Traditional;
    }

    if (!m_target.open(fileName)) {
        failWith(ArchiveCode::OpenError);
        return endIfKnown;
    }
    const Extraction x = copyData(data, *source, begin, end, cipher, sizesKnown);
    if (x.error) {
        m_target.discard();
        failWith(*x.error);
        return endIfKnown;
    }

    MemberEntry final = entry;
    qsizetype next = knownEnd; // where the next member starts
    if (!sizesKnown) {
        // The data descriptor follows the data: CRC and sizes, with or without its
        // signature; the sizes have 8 bytes when the local header has a ZIP64 field.
        ByteReader r(m_archive, x.end);
        std::uint32_t first = r.u32();
        if (first == kDataDescriptorSignature)
            first = r.u32();
        final.crc = first;
        if (entry.zip64) {
            r.skip(8);
            final.size = r.u64();
        } else {
            r.skip(4);
            final.size = r.u32();
        }
        if (!r.ok()) {
            m_target.discard();
            failWith(ArchiveCode::ReadError);
            return std::nullopt;
        }
        next = r.pos();
    }
    if (std::uint64_t(x.written) != final.size) {
        m_target.discard();
        failWith(ArchiveCode::BadLengths);
        return next;
    }
    // AE-2 stores no CRC: the authentication code has checked the member.
    const bool crcStored = !(aes && entry.aes->vendorVersion == AesExtraField::kAe2);
    if (crcStored && x.crc != final.crc) {
        m_target.discard();
        failWith(ArchiveCode::CrcFailed);
        return next;
    }
    if (!m_target.commit()) {
        failWith(ArchiveCode::CloseError);
        return next;
    }
    ++m_written;
    if (encryption && m_sinks.cipher)
        m_sinks.cipher(name, *encryption);
    memberEnd(name, true);
    return next;
}

// The members listed by the central directory, each checked against its local header.
void unpackByDirectory(const QByteArray &archive, const CentralDirectory &directory, MemberReader &reader)
{
    for (const MemberEntry &entry : directory.members) {
        const LocalHeader local = readLocalHeader(archive, entry.localHeaderOffset);
        if (local.error) {
            reader.report(*local.error);
            continue;
        }
        if (local.entry.method != entry.method
            || (local.entry.flags & kFlagEncrypted) != (entry.flags & kFlagEncrypted)) {
            reader.report(ArchiveCode::InconsistentLocalHeader);
            continue;
        }
        reader.extract(entry, local.dataOffset, true);
    }
}

// Without an end record: member after member from the start, as far as the
// data goes. Such an archive is always reported as cut off.
void unpackByWalking(const QByteArray &archive, MemberReader &reader)
{
    if (archive.isEmpty()) {
        reader.report(ArchiveCode::UnsupportedArchive);
        return;
    }
    qsizetype pos = 0;
    while (pos < archive.size()) {
        const LocalHeader local = readLocalHeader(archive, pos);
        if (local.error) {
            // Even where the central directory starts, its end record is missing: the archive is cut off.
            const std::uint32_t signature = ByteReader(archive, pos).u32();
            const bool directoryStarts = signature == kCentralHeaderSignature;
            const bool notAnArchive = pos == 0 && local.error == ArchiveCode::BadFileHeader && !directoryStarts
                && signature != kLocalHeaderSignature;
            reader.report(notAnArchive ? ArchiveCode::UnsupportedArchive
                                       : directoryStarts ? ArchiveCode::ReadError : *local.error);
            return;
        }
        // Sizes in front of a data descriptor may be zero or placeholders.
        const bool sizesKnown = !(local.entry.flags & kFlagDataDescriptor);
        const auto end = reader.extract(local.entry, local.dataOffset, sizesKnown);
        if (!end)
            return;
        pos = *end;
    }
    reader.report(ArchiveCode::ReadError); // the data ended where the central directory belongs
}

} // namespace

QString safeMemberName(const QString &storedName)
{
    QString name = storedName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.size() >= 2 && name[1] == QLatin1Char(':'))
        name = name.mid(2);
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QChar(0)))
        return {};
    return name;
}

QString findMemberFile(const QString &directory, const QString &name)
{
    const QDir dir(directory);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &file : files) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    }
    return {};
}

int unpack(const QByteArray &archive, UnpackTarget &target, KnownPasswords &known, const UnpackSinks &sinks)
{
    MemberReader reader(archive, target, known, sinks);
    const CentralDirectory directory = readCentralDirectory(archive);
    if (!directory.found) {
        unpackByWalking(archive, reader);
        return reader.written();
    }
    unpackByDirectory(archive, directory, reader);
    if (directory.error)
        reader.report(*directory.error);
    return reader.written();
}

namespace {

// The whole file, in one buffer of its size.
PageBuffer readWhole(QFile &file)
{
    if (file.isSequential()) {
        const QByteArray all = file.readAll();
        PageBuffer bytes(size_t(all.size()));
        std::copy(all.cbegin(), all.cend(), bytes.data());
        return bytes;
    }
    PageBuffer bytes(size_t(file.size()));
    const qint64 read = file.read(bytes.data(), qint64(bytes.size()));
    bytes.truncate(size_t(std::max<qint64>(read, 0)));
    return bytes;
}

} // namespace

int unpackFile(const QString &packagePath, const QString &targetDirectory, KnownPasswords &known,
               const UnpackSinks &sinks)
{
    DirectoryTarget target(targetDirectory);
    return unpackFile(packagePath, target, known, sinks);
}

int unpackFile(const QString &packagePath, DirectoryTarget &target, KnownPasswords &known, const UnpackSinks &sinks)
{
    auto report = [&](ArchiveCode code) {
        if (sinks.error)
            sinks.error(code, archiveCodeText(code));
        return 0;
    };
    QFile file(packagePath);
    if (!file.exists())
        return report(ArchiveCode::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        return report(ArchiveCode::OpenError);
    const PageBuffer archive = readWhole(file);
    if (file.error() != QFile::NoError)
        return report(ArchiveCode::ReadError);
    if (!QDir().mkpath(target.directory()))
        return report(ArchiveCode::CannotCreateDirectory);
    return unpack(QByteArray::fromRawData(archive.data(), qsizetype(archive.size())), target, known, sinks);
}

} // namespace qv::archive
