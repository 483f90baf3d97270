#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qv {

struct IniLine {
    QString key;
    QString value;
    bool operator==(const IniLine &) const = default;
};

// An INI text kept line by line, so that writing a value changes only the
// line it belongs to: unknown keys, comments, order and spelling stay as the
// file has them. Sections and keys are matched ignoring case.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(const QString &text);

    QString toText() const;

    bool hasSection(const QString &section) const;
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Every key/value line of the section, in file order.
    QList<IniLine> lines(const QString &section) const;

    // Replaces the value of the first line with this key, or adds the line at
    // the end of the section, or adds the section at the end of the text.
    void setValue(const QString &section, const QString &key, const QString &value);
    void removeSection(const QString &section);
    // Drops the section's key and comment lines, keeping its header and
    // place, so that the lines written next stand where the old ones stood.
    void clearSection(const QString &section);

private:
    struct Range {
        qsizetype header = -1; // index of the "[section]" line
        qsizetype end = -1;    // one past the section's last line
    };
    Range find(const QString &section) const;

    QStringList m_lines;
};

} // namespace qv
