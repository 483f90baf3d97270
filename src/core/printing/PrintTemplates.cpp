#include "printing/PrintTemplates.h"

#include "common/Error.h"
#include "common/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace qv {

namespace {

const QString kSelectedMode = QStringLiteral("SelectedMode");
const QString kSelectedTemp = QStringLiteral("SelectedTemp");
const QString kSkippedName = QStringLiteral("----");
constexpr int kMaxTemplates = 101;

// Limits beyond which a damaged file's value is taken for the default, so
// that a report never has to lay out absurd fonts or lines.
constexpr int kMaxFontSize = 96;
constexpr int kMaxLineHeight = 1000;

std::optional<int> decimal(const std::optional<QString> &text)
{
    bool ok = false;
    const int value = text ? text->toInt(&ok) : 0;
    return ok ? std::optional<int>(value) : std::nullopt;
}

int bounded(const std::optional<int> &value, int low, int high, int fallback)
{
    return value && *value >= low && *value <= high ? *value : fallback;
}

QString fontKey(PrintField field, const char *part)
{
    return QLatin1Char('P') + printFieldCode(field) + QLatin1String("Font") + QLatin1String(part);
}

QString lineKey(int line) { return QStringLiteral("Line%1").arg(line); }
QString switchKey(int line) { return QStringLiteral("Linec%1").arg(line); }

} // namespace

PrintTemplates PrintTemplates::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PrintTemplates({}, path);
    return PrintTemplates(IniDocument(decodeText(file.readAll())), path);
}

PrintTemplates::PrintTemplates(IniDocument document, QString path)
    : m_doc(std::move(document))
    , m_path(std::move(path))
{
}

void PrintTemplates::save() const
{
    // Written beside and renamed over, so a failed write leaves the old file whole.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_doc.toText().toUtf8()) < 0 || !file.commit())
        throw Error(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(m_path)));
}

TemplateList PrintTemplates::templateList(PrintMode mode) const
{
    const QString section = templateListSection(mode);
    TemplateList list;
    for (int i = 0; i < kMaxTemplates; ++i) {
        const auto name = m_doc.value(section, QStringLiteral("temp%1").arg(i));
        if (name && *name != kSkippedName)
            list.names << *name;
    }
    list.selected = m_doc.value(section, kSelectedTemp).value_or(list.selected);
    return list;
}

void PrintTemplates::writeTemplateList(PrintMode mode, const TemplateList &list)
{
    const QString section = templateListSection(mode);
    m_doc.clearSection(section);
    for (qsizetype i = 0; i < list.names.size() && i < kMaxTemplates; ++i)
        m_doc.setValue(section, QStringLiteral("temp%1").arg(i), list.names[i]);
    m_doc.setValue(section, kSelectedTemp, list.selected);
}

int PrintTemplates::selectedPage() const
{
    return bounded(decimal(m_doc.value(kSelectedMode, kSelectedMode)), 0, kPrintModeCount - 1, 0);
}

void PrintTemplates::writeSelectedPage(int page)
{
    m_doc.setValue(kSelectedMode, kSelectedMode, QString::number(page));
}

bool PrintTemplates::hasSection(const QString &name) const
{
    return m_doc.hasSection(name);
}

void PrintTemplates::loadTemplate(const QString &name, PrintSettings &settings) const
{
    const FieldFont defaults;
    for (PrintField field : allPrintFields()) {
        FieldFont &font = settings.font(field);
        font.name = m_doc.value(name, fontKey(field, "Name")).value_or(QString());
        if (font.name.isEmpty())
            font.name = defaults.name;
        font.size = bounded(decimal(m_doc.value(name, fontKey(field, "Size"))), 1, kMaxFontSize, defaults.size);
        font.color = decimal(m_doc.value(name, fontKey(field, "Color"))).value_or(defaults.color);
    }
    const PrintSettings fresh;
    for (int line = 1; line <= kTemplateLineCount; ++line) {
        settings.lineHeights[size_t(line - 1)] =
            bounded(decimal(m_doc.value(name, lineKey(line))), 0, kMaxLineHeight, fresh.lineHeight(line));
        if (line > 1)
            settings.setLinePrinted(line, decimal(m_doc.value(name, switchKey(line))).value_or(1) != 0);
    }
}

void PrintTemplates::writeTemplate(const QString &name, const PrintSettings &settings)
{
    for (PrintField field : allPrintFields()) {
        const FieldFont &font = settings.font(field);
        m_doc.setValue(name, fontKey(field, "Name"), font.name);
        m_doc.setValue(name, fontKey(field, "Size"), QString::number(font.size));
        m_doc.setValue(name, fontKey(field, "Color"), QString::number(font.color));
    }
    for (int line = 1; line <= kTemplateLineCount; ++line)
        m_doc.setValue(name, lineKey(line), QString::number(settings.lineHeight(line)));
    for (int line = 2; line <= kTemplateLineCount; ++line)
        m_doc.setValue(name, switchKey(line), settings.printsLine(line) ? QStringLiteral("1") : QStringLiteral("0"));
}

void PrintTemplates::eraseTemplate(const QString &name)
{
    m_doc.removeSection(name);
}

} // namespace qv
