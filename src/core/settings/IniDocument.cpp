#include "settings/IniDocument.h"

namespace qv {

namespace {

std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

std::optional<IniLine> keyLine(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return IniLine{t.left(eq).trimmed(), t.mid(eq + 1).trimmed()};
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniDocument::IniDocument(const QString &text)
{
    if (text.isEmpty())
        return;
    m_lines = text.split(QLatin1Char('\n'));
    for (QString &line : m_lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // A final line break does not open another line.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

QString IniDocument::toText() const
{
    if (m_lines.isEmpty())
        return {};
    return m_lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

IniDocument::Range IniDocument::find(const QString &section) const
{
    Range r;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (!name)
            continue;
        if (r.header >= 0) {
            r.end = i;
            return r;
        }
        if (sameName(*name, section))
            r.header = i;
    }
    if (r.header >= 0)
        r.end = m_lines.size();
    return r;
}

bool IniDocument::hasSection(const QString &section) const
{
    return find(section).header >= 0;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const Range r = find(section);
    for (qsizetype i = r.header + 1; r.header >= 0 && i < r.end; ++i) {
        const auto line = keyLine(m_lines[i]);
        if (line && sameName(line->key, key))
            return line->value;
    }
    return std::nullopt;
}

QList<IniLine> IniDocument::lines(const QString &section) const
{
    QList<IniLine> result;
    const Range r = find(section);
    for (qsizetype i = r.header + 1; r.header >= 0 && i < r.end; ++i) {
        if (const auto line = keyLine(m_lines[i]))
            result << *line;
    }
    return result;
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const Range r = find(section);
    if (r.header < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines << QString();
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + value;
        return;
    }
    qsizetype lastFilled = r.header;
    for (qsizetype i = r.header + 1; i < r.end; ++i) {
        const auto line = keyLine(m_lines[i]);
        if (line && sameName(line->key, key)) {
            m_lines[i] = line->key + QLatin1Char('=') + value;
            return;
        }
        if (!m_lines[i].trimmed().isEmpty())
            lastFilled = i;
    }
    m_lines.insert(lastFilled + 1, key + QLatin1Char('=') + value);
}

void IniDocument::removeSection(const QString &section)
{
    const Range r = find(section);
    if (r.header >= 0)
        m_lines.remove(r.header, r.end - r.header);
}

void IniDocument::clearSection(const QString &section)
{
    const Range r = find(section);
    for (qsizetype i = r.end - 1; r.header >= 0 && i > r.header; --i) {
        if (!m_lines[i].trimmed().isEmpty())
            m_lines.removeAt(i);
    }
}

} // namespace qv
