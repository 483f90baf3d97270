#include "data/archive/UnpackTarget.h"

#include <QDir>

#include <utility>

namespace qv::archive {

bool DirectoryTarget::open(const QString &name)
{
    m_file = std::make_unique<QFile>(QDir(m_directory).filePath(name));
    return m_file->open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool DirectoryTarget::write(const char *data, qsizetype size)
{
    return m_file && m_file->write(data, size) == size;
}

bool DirectoryTarget::commit()
{
    if (!m_file)
        return false;
    const bool ok = m_file->flush() && m_file->error() == QFile::NoError;
    m_file->close();
    if (!ok)
        m_file->remove();
    m_file.reset();
    return ok;
}

void DirectoryTarget::discard()
{
    if (m_file) {
        m_file->close();
        m_file->remove();
    }
    m_file.reset();
}

bool KeepingTarget::open(const QString &name)
{
    m_name = m_keptNames.contains(name, Qt::CaseInsensitive) ? name.toLower() : QString();
    m_data.clear();
    m_whole = PageBuffer();
    m_isWhole = false;
    return m_name.isEmpty() ? DirectoryTarget::open(name) : true;
}

bool KeepingTarget::write(const char *data, qsizetype size)
{
    if (m_name.isEmpty())
        return DirectoryTarget::write(data, size);
    if (m_isWhole) {
        m_data = QByteArray(m_whole.data(), qsizetype(m_whole.size()));
        m_whole = PageBuffer();
        m_isWhole = false;
    }
    m_data.append(data, size);
    return true;
}

bool KeepingTarget::writeAll(PageBuffer data)
{
    if (m_name.isEmpty() || m_isWhole || !m_data.isEmpty())
        return write(data.data(), qsizetype(data.size()));
    m_whole = std::move(data);
    m_isWhole = true;
    return true;
}

bool KeepingTarget::commit()
{
    if (m_name.isEmpty())
        return DirectoryTarget::commit();
    if (!m_isWhole) {
        m_whole = PageBuffer(size_t(m_data.size()));
        std::copy(m_data.cbegin(), m_data.cend(), m_whole.data());
        m_data.clear();
    }
    kept.insert_or_assign(m_name, std::move(m_whole));
    m_whole = PageBuffer();
    m_isWhole = false;
    if (keptEnd)
        keptEnd(m_name, true);
    return true;
}

void KeepingTarget::discard()
{
    if (m_name.isEmpty()) {
        DirectoryTarget::discard();
        return;
    }
    // As with a file, a discarded member leaves nothing of its name behind.
    kept.erase(m_name);
    m_data.clear();
    m_whole = PageBuffer();
    m_isWhole = false;
    if (keptEnd)
        keptEnd(m_name, false);
}

bool MemoryTarget::open(const QString &name)
{
    m_name = name;
    m_data.clear();
    return true;
}

bool MemoryTarget::write(const char *data, qsizetype size)
{
    m_data.append(data, size);
    return true;
}

bool MemoryTarget::commit()
{
    files.insert(m_name, m_data);
    m_data.clear();
    return true;
}

void MemoryTarget::discard()
{
    m_data.clear();
}

} // namespace qv::archive
