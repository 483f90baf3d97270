#pragma once

#include "printing/PrintSettings.h"
#include "settings/IniDocument.h"

#include <QStringList>

namespace qv {

// The templates of one mode as pt.ini lists them.
struct TemplateList {
    QStringList names;
    QString selected = QStringLiteral("Large Card");
    bool operator==(const TemplateList &) const = default;
};

// The print templates file "pt.ini": per mode a list of template names and
// the selected one, the page last saved, and one section per template with
// its fonts, line heights and line switches. Missing sections and keys, and
// values that cannot be used, read as the defaults of a fresh template.
class PrintTemplates {
public:
    // The document of the file at the path; a missing file is an empty one.
    static PrintTemplates load(const QString &path);
    explicit PrintTemplates(IniDocument document = {}, QString path = {});

    // Throws qv::Error "Unable to write to <path>", leaving the file as it was.
    void save() const;
    const IniDocument &document() const { return m_doc; }

    // "temp0" to "temp100" in order, skipping missing keys and "----".
    TemplateList templateList(PrintMode mode) const;
    // Rewrites the mode's section in its place: the names densely from
    // "temp0", then "SelectedTemp".
    void writeTemplateList(PrintMode mode, const TemplateList &list);
    // The print dialog's page last saved.
    int selectedPage() const;
    void writeSelectedPage(int page);

    // Whether any section of the file has this name, ignoring case; the
    // template names of all modes and the file's own sections share one space.
    bool hasSection(const QString &name) const;
    // Sets the fonts, line heights and switches of the settings from the template.
    void loadTemplate(const QString &name, PrintSettings &settings) const;
    // Writes the 48 font keys, the ten line heights and the nine switches.
    void writeTemplate(const QString &name, const PrintSettings &settings);
    void eraseTemplate(const QString &name);

private:
    IniDocument m_doc;
    QString m_path;
};

} // namespace qv
