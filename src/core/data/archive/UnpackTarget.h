#pragma once

#include "common/PageBuffer.h"

#include <QByteArray>
#include <QMap>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace qv::archive {

// Where unpacked members go. A member is opened, written, then either
// committed (it appears whole) or discarded (nothing of it remains).
class UnpackTarget {
public:
    virtual ~UnpackTarget() = default;
    virtual bool open(const QString &name) = 0;
    virtual bool write(const char *data, qsizetype size) = 0;
    // The member's whole content in one piece; a target that keeps members in
    // memory takes the bytes over instead of copying them.
    virtual bool writeAll(PageBuffer data) { return write(data.data(), qsizetype(data.size())); }
    virtual bool commit() = 0;
    virtual void discard() = 0;
};

// Members become files of a directory. A discarded member leaves no file of
// its name behind, not even one an earlier unpack wrote.
class DirectoryTarget : public UnpackTarget {
public:
    explicit DirectoryTarget(QString directory) : m_directory(std::move(directory)) {}
    const QString &directory() const { return m_directory; }
    bool open(const QString &name) override;
    bool write(const char *data, qsizetype size) override;
    bool commit() override;
    void discard() override;

private:
    QString m_directory;
    std::unique_ptr<QFile> m_file;
};

// A directory target that keeps the members of the given names (compared
// ignoring case) in memory instead, under their names in lower case: the
// caller reads them straight away and has no use for their files.
class KeepingTarget : public DirectoryTarget {
public:
    KeepingTarget(QString directory, QStringList keptNames)
        : DirectoryTarget(std::move(directory)), m_keptNames(std::move(keptNames))
    {
    }
    bool open(const QString &name) override;
    bool write(const char *data, qsizetype size) override;
    bool writeAll(PageBuffer data) override;
    bool commit() override;
    void discard() override;

    std::map<QString, PageBuffer> kept;
    // Hears of each member kept in memory as it comes out whole (true) or is
    // given up (false), under its name in lower case; it may take the bytes.
    std::function<void(const QString &name, bool whole)> keptEnd;

private:
    QStringList m_keptNames;
    QString m_name; // lower case; empty while a member goes to a file
    QByteArray m_data;   // a member written piece by piece
    PageBuffer m_whole;  // or in one piece
    bool m_isWhole = false;
};

// Members kept in memory, for tests and fuzzing.
class MemoryTarget : public UnpackTarget {
public:
    bool open(const QString &name) override;
    bool write(const char *data, qsizetype size) override;
    bool commit() override;
    void discard() override;

    QMap<QString, QByteArray> files;

private:
    QString m_name;
    QByteArray m_data;
};

} // namespace qv::archive
