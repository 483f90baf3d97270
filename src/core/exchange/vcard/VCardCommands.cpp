#include "exchange/vcard/VCardCommands.h"

#include "common/Prompter.h"
#include "data/TableView.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCardFile.h"
#include "exchange/vcard/VCardImport.h"
#include "exchange/wab/WabCommands.h"
#include "settings/Settings.h"

namespace qv::vcard {

namespace {

const QString kOpenFilter = QStringLiteral("E-Business Card (*.vcf)|*.vcf");
// One file type a version, in the order of the versions.
const QString kSaveFilter = QStringLiteral("E-Business Card (*.vcf)|*.vcf|E-Business Card, vCard 3.0 (*.vcf)|*.vcf|"
                                           "E-Business Card, vCard 4.0 (*.vcf)|*.vcf");
const VCardVersion kVersions[] = {VCardVersion::V21, VCardVersion::V30, VCardVersion::V40};

int filterIndexOf(const QString &versionText)
{
    const VCardVersion version = versionFromText(versionText.toLatin1());
    for (int i = 0; i < 3; ++i) {
        if (kVersions[i] == version)
            return i;
    }
    return 0;
}

// Clears the busy state however the work ends.
class Busy {
public:
    explicit Busy(const BusySetter &setBusy) : m_setBusy(setBusy) { m_setBusy(true); }
    ~Busy() { m_setBusy(false); }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    const BusySetter &m_setBusy;
};

std::vector<int> exportedRows(const VCardExportContext &c)
{
    if (c.markedRows.size() > 1)
        return c.markedRows;
    const int current = c.persons.currentRow();
    return current < 0 ? std::vector<int>() : std::vector<int>{current};
}

// One entry's file bears its name; several marked ones are named as a lot,
// not after the entry that happens to be current.
QString proposedName(const VCardExportContext &c, const std::vector<int> &rows)
{
    return rows.size() > 1 ? QStringLiteral("contacts") : c.persons.text(QStringLiteral("Name"));
}

} // namespace

void exportVCardCommand(const VCardExportContext &c)
{
    const std::vector<int> rows = exportedRows(c);
    if (c.persons.recordCount() == 0 || rows.empty()) {
        c.prompter.message(QStringLiteral("No entry to be exported, please list at least one entry."), Prompter::Icon::Plain,
                           Prompter::Button::Ok);
        return;
    }
    int filterIndex = filterIndexOf(c.settings.vCardVersion);
    Prompter::SaveRequest request;
    request.filter = kSaveFilter;
    request.defaultExtension = QStringLiteral("vcf");
    request.proposedName = proposedName(c, rows);
    request.filterIndex = &filterIndex;
    const auto path = c.prompter.saveFile(request);
    if (!path)
        return;
    const VCardVersion version = kVersions[std::clamp(filterIndex, 0, 2)];
    c.settings.vCardVersion = QString::fromLatin1(versionText(version));
    const Busy busy(c.setBusy);
    writeVCardFile(*path, EntryCards(*c.persons.table(), c.organisations), rows, version);
}

std::optional<int> importVCardCommand(const VCardImportContext &c)
{
    Prompter::OpenRequest request;
    request.filter = kOpenFilter;
    const auto path = c.prompter.openFile(request);
    if (!path || path->isEmpty())
        return std::nullopt;
    const std::optional<int> picked = c.question.askCategory();
    if (!picked)
        return std::nullopt;
    VCardImportOptions options;
    options.categoryNumber = c.numberAt(*picked);
    options.checkSameName = c.settings.checkOrgSameName;
    std::optional<VCardImportReport> report;
    {
        const Busy busy(c.setBusy);
        report = importVCardFile(c.editModel, c.prompter, c.comparer, *path, options);
    }
    if (report)
        c.prompter.message(report->text(), Prompter::Icon::Information, Prompter::Button::Ok);
    return picked;
}

} // namespace qv::vcard
