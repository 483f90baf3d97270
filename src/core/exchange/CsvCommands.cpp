#include "exchange/CsvCommands.h"

#include "common/Prompter.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/csv/ImportMapping.h"
#include "settings/Settings.h"

namespace qv {

namespace {

const QString kCsvFilter = QStringLiteral("Comma Separated Values (*.csv,*.txt)|*.csv;*.txt|Any file (*.*)|*.*");

// Steps shared by the export and the copy: something listed, fields chosen.
std::optional<ExportFieldChooser::Choice> chooseFields(ExchangeEngine &engine, Settings &settings, Prompter &prompter,
                                                       ExportFieldChooser &chooser)
{
    if (engine.listedCount() == 0) {
        prompter.message(QStringLiteral("No entry to be exported, please list at least one entry."), Prompter::Icon::Plain,
                         Prompter::Button::Ok);
        return std::nullopt;
    }
    auto choice = chooser.choose(settings.fieldsList, settings.checkedFieldsList, settings.csvByteOrderMark);
    if (!choice)
        return std::nullopt;
    settings.checkedFieldsList = choice->ticked;
    settings.csvByteOrderMark = choice->byteOrderMark;
    engine.selectExportFields(choice->ticked);
    return choice;
}

// Closes the import file however the command ends.
class OpenImport {
public:
    explicit OpenImport(ExchangeEngine &engine) : m_engine(engine) {}
    ~OpenImport() { m_engine.closeImportFile(); }
    OpenImport(const OpenImport &) = delete;
    OpenImport &operator=(const OpenImport &) = delete;

private:
    ExchangeEngine &m_engine;
};

} // namespace

void exportCsvCommand(ExchangeEngine &engine, Settings &settings, Prompter &prompter, ExportFieldChooser &chooser,
                      const BusySetter &setBusy)
{
    const auto choice = chooseFields(engine, settings, prompter, chooser);
    if (!choice)
        return;
    Prompter::SaveRequest request;
    request.filter = kCsvFilter;
    request.defaultExtension = QStringLiteral("csv");
    const auto path = prompter.saveFile(request);
    if (!path)
        return;
    setBusy(true);
    try {
        engine.exportCsv(*path, choice->columnTitles, choice->byteOrderMark);
    } catch (...) {
        setBusy(false);
        throw;
    }
    setBusy(false);
}

std::optional<QString> copyCurrentCommand(ExchangeEngine &engine, Settings &settings, Prompter &prompter,
                                          ExportFieldChooser &chooser)
{
    if (!chooseFields(engine, settings, prompter, chooser))
        return std::nullopt;
    return engine.currentEntryText();
}

std::optional<int> importCsvCommand(ExchangeEngine &engine, Settings &settings, Prompter &prompter, ImportChooser &chooser,
                                    SameNameCheck &check, const std::function<int(int)> &numberAt, const BusySetter &setBusy)
{
    Prompter::OpenRequest request;
    request.filter = kCsvFilter;
    const auto path = prompter.openFile(request);
    if (!path)
        return std::nullopt;
    engine.openImportFile(*path);
    const OpenImport open(engine);
    if (!chooser.choose(engine))
        return chooser.pickedPosition();
    if (!nameMappingMakesSense(settings.importFieldMapping)) {
        prompter.message(QStringLiteral("Either Name or Surname+GivenName(+MidName) should be selected to make sense."),
                         Prompter::Icon::Information, Prompter::Button::Ok);
        return chooser.pickedPosition();
    }
    setBusy(true);
    ImportReport report;
    try {
        report = engine.importCsv(numberAt(chooser.pickedPosition()), check, prompter);
    } catch (...) {
        setBusy(false);
        throw;
    }
    setBusy(false);
    prompter.message(report.text(), Prompter::Icon::Information, Prompter::Button::Ok);
    return chooser.pickedPosition();
}

} // namespace qv
