#include "data/archive/PackageWriter.h"

#include "common/Error.h"
#include "data/archive/ArchiveError.h"
#include "data/archive/TraditionalCipher.h"
#include "data/archive/ZipFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace qv::archive {

namespace {

struct WrittenMember {
    QByteArray name;
    std::uint16_t flags = 0;
    DosDateTime time;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

Error archiveFailure(ArchiveCode code, const QString &detail)
{
    return Error(QStringLiteral("%1: %2").arg(archiveCodeText(code), QDir::toNativeSeparators(detail)));
}

// A member's CRC and Deflate body, computed apart from the archive's layout
// so that several members can be compressed at once.
struct CompressedMember {
    std::uint32_t crc = 0;
    QByteArray body;
    bool failed = false;
};

// The Deflate stream of the bytes from `from` on, with the CRC of the whole member.
CompressedMember compress(QByteArrayView data, qsizetype from)
{
    CompressedMember c;
    c.crc = libdeflate_crc32(0, data.data(), static_cast<size_t>(data.size()));
    const QByteArrayView tail = data.sliced(from);
    // libdeflate's level 6 is its normal one: over twice zlib's speed, slightly smaller output.
    libdeflate_compressor *compressor = libdeflate_alloc_compressor(6);
    if (!compressor) {
        c.failed = true;
        return c;
    }
    c.body = QByteArray(static_cast<qsizetype>(libdeflate_deflate_compress_bound(compressor, static_cast<size_t>(tail.size()))),
                        Qt::Uninitialized);
    const size_t produced = libdeflate_deflate_compress(compressor, tail.data(), static_cast<size_t>(tail.size()),
                                                        c.body.data(), static_cast<size_t>(c.body.size()));
    libdeflate_free_compressor(compressor);
    c.failed = produced == 0 && !tail.isEmpty();
    c.body.truncate(static_cast<qsizetype>(produced));
    return c;
}

// zlib's Deflate of the first bytes of a member, at the same normal level,
// ended by a sync flush: its blocks are not final and it ends on a byte
// boundary, so that the Deflate stream of the rest follows it as one member.
// libdeflate always ends its output with a final block. Empty on failure.
QByteArray compressHead(QByteArrayView head)
{
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    // The bound leaves out the flush marker's few bytes; the margin has room for them.
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(head.size()))) + 64, Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(head.data()));
    z.avail_in = static_cast<uInt>(head.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const bool done = deflate(&z, Z_SYNC_FLUSH) == Z_OK && z.avail_in == 0 && z.avail_out > 0;
    out.truncate(out.size() - qsizetype(z.avail_out));
    deflateEnd(&z);
    return done ? out : QByteArray();
}

// Members from this size on are compressed in two parts on two cores: the
// book's person table is most of a package.
constexpr qsizetype kSplitSize = 1 << 20;
// zlib compresses at about half libdeflate's speed: its part is the smaller,
// so that both parts take about as long.
constexpr double kHeadShare = 0.3;

// One part of the compression work: a member whole or from `from` on, or
// the head of a split member up to `to`. Costs are in bytes of libdeflate work.
struct CompressionJob {
    qsizetype member = 0;
    qsizetype from = 0;
    qsizetype to = 0;
    bool head = false;
    qsizetype cost = 0;
};

// Compresses every member on the machine's cores, the costliest part first,
// so that the book's big table and the rest are packed side by side.
std::vector<CompressedMember> compressAll(const QList<PackMember> &members)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<CompressionJob> jobs;
    for (qsizetype i = 0; i < members.size(); ++i) {
        const qsizetype size = members[i].data.size();
        if (cores > 1 && size >= kSplitSize) {
            const auto headSize = static_cast<qsizetype>(double(size) * kHeadShare);
            // The head takes about as long as the rest.
            jobs.push_back({i, 0, headSize, true, size - headSize});
            jobs.push_back({i, headSize, size, false, size - headSize});
        } else {
            jobs.push_back({i, 0, size, false, size});
        }
    }
    std::stable_sort(jobs.begin(), jobs.end(), [](const CompressionJob &a, const CompressionJob &b) { return a.cost > b.cost; });

    std::vector<CompressedMember> results(static_cast<size_t>(members.size()));
    std::vector<QByteArray> heads(static_cast<size_t>(members.size()));
    std::atomic<size_t> next = 0;
    auto work = [&] {
        for (size_t n = next++; n < jobs.size(); n = next++) {
            const CompressionJob &job = jobs[n];
            const QByteArray &data = members[job.member].data;
            if (job.head)
                heads[static_cast<size_t>(job.member)] = compressHead(QByteArrayView(data).first(job.to));
            else
                results[static_cast<size_t>(job.member)] = compress(data, job.from);
        }
    };
    const unsigned helpers = std::min<unsigned>(cores, static_cast<unsigned>(jobs.size())) - 1;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &t : threads)
        t.join();
    for (const CompressionJob &job : jobs) {
        if (job.from == 0)
            continue;
        CompressedMember &c = results[static_cast<size_t>(job.member)];
        const QByteArray &head = heads[static_cast<size_t>(job.member)];
        c.failed = c.failed || head.isEmpty();
        c.body.prepend(head);
    }
    return results;
}

QByteArray encryptionHeader(std::uint32_t crc, const RandomSource &random)
{
    QByteArray header(TraditionalCipher::kHeaderSize, Qt::Uninitialized);
    for (int i = 0; i < TraditionalCipher::kHeaderSize - 1; ++i)
        header[i] = static_cast<char>(random ? random() : QRandomGenerator::system()->generate());
    // Without a data descriptor the check byte is the CRC's high byte.
    header[TraditionalCipher::kHeaderSize - 1] = static_cast<char>(crc >> 24);
    return header;
}

// The fields both headers give in the same order: flags to name length.
void appendMemberFields(QByteArray &out, const WrittenMember &m)
{
    appendU16(out, m.flags);
    appendU16(out, kMethodDeflated);
    appendU16(out, m.time.time);
    appendU16(out, m.time.date);
    appendU32(out, m.crc);
    appendU32(out, m.compressedSize);
    appendU32(out, m.size);
    appendU16(out, static_cast<std::uint16_t>(m.name.size()));
}

void appendLocalHeader(QByteArray &out, const WrittenMember &m)
{
    appendU32(out, kLocalHeaderSignature);
    appendU16(out, kVersionNeeded);
    appendMemberFields(out, m);
    appendU16(out, 0); // extra
    out.append(m.name);
}

void appendCentralHeader(QByteArray &out, const WrittenMember &m)
{
    appendU32(out, kCentralHeaderSignature);
    appendU16(out, (3u << 8) | kVersionNeeded); // made by: Unix, 2.0
    appendU16(out, kVersionNeeded);
    appendMemberFields(out, m);
    appendU16(out, 0); // extra
    appendU16(out, 0); // comment
    appendU16(out, 0); // disk
    appendU16(out, 0); // internal attributes
    appendU32(out, 0100644u << 16); // a regular file, rw-r--r--
    appendU32(out, m.offset);
    out.append(m.name);
}

bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QByteArray buildArchive(const QList<PackMember> &members, const QString &password, const RandomSource &random)
{
    constexpr qint64 kZipLimit = 0xFFFFFFFFll; // beyond it a ZIP64 archive would be needed
    if (members.size() > 0xFFFF)
        throw archiveFailure(ArchiveCode::UnsupportedArchive, QString::number(members.size()));

    const QByteArray passwordBytes = password.toUtf8();
    for (const PackMember &member : members) {
        if (member.data.size() > kZipLimit)
            throw archiveFailure(ArchiveCode::BadLengths, member.name);
    }
    std::vector<CompressedMember> compressed = compressAll(members);

    QByteArray out;
    QList<WrittenMember> written;
    for (qsizetype i = 0; i < members.size(); ++i) {
        const PackMember &member = members[i];
        CompressedMember &c = compressed[static_cast<size_t>(i)];
        if (c.failed)
            throw archiveFailure(ArchiveCode::OutOfMemory, member.name);
        WrittenMember m;
        m.name = member.name.toUtf8();
        m.flags = isAscii(member.name) ? 0 : kFlagUtf8Name;
        m.time = toDosDateTime(member.modified);
        m.crc = c.crc;
        m.size = static_cast<std::uint32_t>(member.data.size());
        QByteArray body = std::move(c.body);
        if (!passwordBytes.isEmpty()) {
            m.flags |= kFlagEncrypted;
            body.prepend(encryptionHeader(m.crc, random));
            TraditionalCipher(passwordBytes).encrypt(body.data(), body.size());
        }
        if (out.size() + body.size() > kZipLimit)
            throw archiveFailure(ArchiveCode::BadLengths, member.name);
        m.compressedSize = static_cast<std::uint32_t>(body.size());
        m.offset = static_cast<std::uint32_t>(out.size());
        appendLocalHeader(out, m);
        out.append(body);
        written << m;
    }

    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    for (const WrittenMember &m : std::as_const(written))
        appendCentralHeader(out, m);
    const auto directorySize = static_cast<std::uint32_t>(out.size() - directoryOffset);

    appendU32(out, kEndRecordSignature);
    appendU16(out, 0); // this disk
    appendU16(out, 0); // disk of the central directory
    appendU16(out, static_cast<std::uint16_t>(written.size()));
    appendU16(out, static_cast<std::uint16_t>(written.size()));
    appendU32(out, directorySize);
    appendU32(out, directoryOffset);
    appendU16(out, 0); // no comment
    return out;
}

QStringList packageMemberFiles(const QString &sourceDir)
{
    const QDir dir(sourceDir);
    QStringList files;
    for (const char *pattern : {"*.dbf", "*.dff"}) {
        files << dir.entryList(QStringList{QString::fromLatin1(pattern)}, QDir::Files | QDir::Hidden,
                               QDir::Name | QDir::IgnoreCase);
    }
    return files;
}

void pack(const QString &packagePath, const QString &sourceDir, const QString &password, const RandomSource &random)
{
    pack(packagePath, sourceDir, password, {}, random);
}

void pack(const QString &packagePath, const QString &sourceDir, const QString &password,
          const QMap<QString, QByteArray> &held, const RandomSource &random)
{
    QList<PackMember> members;
    const QDir dir(sourceDir);
    for (const QString &name : packageMemberFiles(sourceDir)) {
        const auto kept = held.constFind(name.toLower());
        if (kept != held.cend()) {
            members << PackMember{name, *kept, QFileInfo(dir.filePath(name)).lastModified()};
            continue;
        }
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw archiveFailure(ArchiveCode::OpenError, file.fileName());
        PackMember member{name, file.readAll(), QFileInfo(file).lastModified()};
        if (file.error() != QFile::NoError)
            throw archiveFailure(ArchiveCode::ReadError, file.fileName());
        members << member;
    }
    const QByteArray archive = buildArchive(members, password, random);

    QSaveFile out(packagePath);
    if (!out.open(QIODevice::WriteOnly))
        throw archiveFailure(ArchiveCode::OpenError, packagePath);
    if (out.write(archive) != archive.size())
        throw archiveFailure(ArchiveCode::WriteError, packagePath);
    if (!out.commit())
        throw archiveFailure(ArchiveCode::CloseError, packagePath);
}

} // namespace qv::archive
