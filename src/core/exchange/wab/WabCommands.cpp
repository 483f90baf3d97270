#include "exchange/wab/WabCommands.h"

#include "common/Prompter.h"
#include "exchange/wab/WabImport.h"
#include "settings/Settings.h"

namespace qv {

namespace {

// An empty path stands for the current user's address book.
std::optional<int> askAndImport(const WabCommandContext &c, const QString &path)
{
    const std::optional<int> picked = c.question.askCategory();
    if (!picked)
        return std::nullopt;
    WabImportOptions options;
    options.categoryNumber = c.numberAt(*picked);
    options.checkSameName = c.settings.checkOrgSameName;
    c.setBusy(true);
    std::optional<ImportReport> report;
    try {
        report = importWab(c.editModel, c.prompter, c.comparer, path, options);
    } catch (...) {
        c.setBusy(false);
        throw;
    }
    c.setBusy(false);
    if (report)
        c.prompter.message(report->text(), Prompter::Icon::Information, Prompter::Button::Ok);
    return picked;
}

} // namespace

std::optional<int> importWabFileCommand(const WabCommandContext &context)
{
    Prompter::OpenRequest request;
    request.filter = QStringLiteral("WAB (*.wab)");
    const auto path = context.prompter.openFile(request);
    if (!path || path->isEmpty())
        return std::nullopt;
    return askAndImport(context, *path);
}

std::optional<int> importCurrentWabCommand(const WabCommandContext &context)
{
    return askAndImport(context, QString());
}

} // namespace qv
