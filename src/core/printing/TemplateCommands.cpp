#include "printing/TemplateCommands.h"

#include "common/Prompter.h"

namespace qv::templates {

namespace {

constexpr qsizetype kMaxTemplates = 101;

void writeList(PrintTemplates &file, PrintMode mode, const TemplateList &list)
{
    file.writeTemplateList(mode, list);
    file.writeSelectedPage(pageOfMode(mode));
    file.save();
}

// The names pt.ini keeps for itself: a template of that name would share
// its section with a list or be skipped when the list is read.
bool isReservedName(const QString &name)
{
    if (name == QLatin1String("----") || name.compare(QLatin1String("SelectedMode"), Qt::CaseInsensitive) == 0)
        return true;
    for (PrintMode mode : kModePages) {
        if (name.compare(templateListSection(mode), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void tell(Prompter &prompter, const QString &text)
{
    prompter.message(text, Prompter::Icon::Plain, Prompter::Button::Ok);
}

} // namespace

void save(PrintTemplates &file, PrintMode mode, TemplateList &list, const QString &name, const PrintSettings &settings)
{
    file.writeTemplate(name, settings);
    list.selected = name;
    writeList(file, mode, list);
}

std::optional<QString> saveAs(PrintTemplates &file, PrintMode mode, TemplateList &list, const PrintSettings &settings,
                              Prompter &prompter)
{
    const auto typed = prompter.input(QStringLiteral("New Template Name"), QStringLiteral("Template name:"), QString());
    // Leading and trailing blanks would not survive pt.ini anyway.
    const QString name = typed.value_or(QString()).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    // "]" would end the section header early and "=" would split the list's line.
    if (name.contains(QLatin1Char(']')) || name.contains(QLatin1Char('='))) {
        tell(prompter, QStringLiteral("A template name cannot contain \"]\" or \"=\"."));
        return std::nullopt;
    }
    if (file.hasSection(name) || isReservedName(name)) {
        tell(prompter, QStringLiteral("The same name exists."));
        return std::nullopt;
    }
    if (list.names.size() >= kMaxTemplates) {
        tell(prompter, QStringLiteral("A print mode holds %1 templates at most.").arg(kMaxTemplates));
        return std::nullopt;
    }
    list.names << name;
    save(file, mode, list, name, settings);
    return name;
}

bool remove(PrintTemplates &file, PrintMode mode, TemplateList &list, PrintSettings &settings, Prompter &prompter)
{
    if (list.names.size() < 2) {
        tell(prompter, QStringLiteral("You'd better leave one template at least."));
        return false;
    }
    if (!list.names.removeOne(list.selected))
        return false;
    file.eraseTemplate(list.selected);
    list.selected = list.names.first();
    file.loadTemplate(list.selected, settings);
    writeList(file, mode, list);
    return true;
}

} // namespace qv::templates
