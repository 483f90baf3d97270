#include "Commands.h"
#include "TerminalPrompter.h"

#include "common/MemberLines.h"
#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "common/Error.h"
#include "data/DatabaseError.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "data/RecordTable.h"
#include "data/TableFile.h"
#include "data/archive/PackageWriter.h"
#include "data/filter/FilterSyntax.h"
#include "exchange/FieldCatalogue.h"
#include "printing/PrintTemplates.h"
#include "printing/ReportPdf.h"
#include "exchange/ExchangeEngine.h"
#include "exchange/ComparingSameNameCheck.h"
#include "exchange/csv/ImportMapping.h"
#include "editing/OrganisationSameName.h"
#include "exchange/SystemAddressBook.h"
#include "exchange/wab/WabImport.h"
#include "exchange/vcard/EntryCards.h"
#include "exchange/vcard/VCardFile.h"
#include "exchange/vcard/VCardImport.h"
#include "ImportMapArgument.h"
#include "search/OrganisationLookup.h"
#include "search/SearchChoice.h"
#include "settings/Settings.h"
#include "settings/StoredBookSettings.h"
#include "shell/BookModelSet.h"
#include "shell/OwnerName.h"
#include "shell/ProgramDirectory.h"

#include <QFileInfo>
#include <QLocale>

#include <functional>
#include <QTemporaryDir>

namespace qv::tool {

namespace {

// A book opened through the program's own open sequence, in a private working directory.
struct OpenBook {
    QTemporaryDir work;
    RecordStore data;
    Settings options{work.filePath(QStringLiteral("aa.ini"))};
    StoredBookSettings settings{options};
    BookModelSet models;
    SilentShell shell;
    std::unique_ptr<TerminalPrompter> prompter;
    std::unique_ptr<PackageLifecycle> lifecycle;

    bool open(const QString &package, QTextStream &err, std::unique_ptr<TerminalPrompter> answering = nullptr)
    {
        prompter = answering ? std::move(answering) : std::make_unique<TerminalPrompter>(err);
        const QString working = work.path() + QStringLiteral("/work/");
        lifecycle = std::make_unique<PackageLifecycle>(data, models, settings, *prompter, shell,
                                                       PackageLifecycle::Directories{working, working, working});
        if (!QFileInfo(package).isFile()) {
            err << "qvtool: no package at " << package << '\n';
            return false;
        }
        return lifecycle->openPackage(package);
    }
};

const char *formName(TableForm form)
{
    return form == TableForm::DataPacket ? "data packet" : "current";
}

// Answers Save As with the path the command names.
class SavingPrompter : public TerminalPrompter {
public:
    SavingPrompter(QTextStream &err, QString target) : TerminalPrompter(err), m_target(std::move(target)) {}
    std::optional<QString> saveFile(const SaveRequest &) override { return m_target; }

private:
    QString m_target;
};

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return text;
}

// Opens the one package the arguments name and shows something of it.
int withBook(const QStringList &arguments, const char *usage, Output io, const std::function<void(OpenBook &)> &show)
{
    if (arguments.size() != 1) {
        io.err << "Usage: qvtool " << usage << '\n';
        return 2;
    }
    OpenBook book;
    if (!book.open(arguments[0], io.err))
        return 1;
    show(book);
    return 0;
}

std::optional<QString> option(QStringList &args, const QString &name)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size())
        return std::nullopt;
    const QString value = args[i + 1];
    args.remove(i, 2);
    return value;
}

bool flag(QStringList &args, const QString &name)
{
    return args.removeAll(name) > 0;
}

// Prints the listed persons, one per line, the fields TAB-separated: the
// named fields, every field for "all", or the usual few. An unknown name
// throws with its message.
void printPersons(TableView &list, const std::optional<QString> &fieldList, QTextStream &out)
{
    QList<int> fields;
    const QStringList names = !fieldList ? QStringList{"ClientID", "Name", "OrgID", "Group1", "Group2", "Group3", "Group4", "Yellow"}
        : *fieldList == QLatin1String("all") ? QStringList()
                                             : fieldList->split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int f = 0; names.isEmpty() && f < list.fieldCount(); ++f)
        fields << f;
    for (const QString &name : names)
        fields << list.fieldIndex(name.trimmed());
    list.disableControls();
    for (list.first(); !list.atEnd(); list.next()) {
        QStringList cells;
        for (int f : std::as_const(fields))
            cells << escaped(valueText(list.value(f)));
        out << cells.join(QLatin1Char('\t')) << '\n';
    }
}

} // namespace

int infoCommand(const QStringList &arguments, Output io)
{
    return withBook(arguments, "info PACKAGE", io, [&](OpenBook &book) {
        int categories = 0;
        for (const CategoryNode *node : book.models.tree().forest().preOrder())
            categories += node->number > 1000 ? 1 : 0;
        io.out << "entries: " << book.data.personLookup.recordCount() << '\n'
               << "organisations: " << book.data.organisationLookup.recordCount() << '\n'
               << "categories: " << categories << '\n'
               << "format: " << (book.lifecycle->lastOpenConverted() ? "old" : "current") << '\n'
               << "person table form: " << formName(book.lifecycle->lastOpenTableForms().first) << '\n'
               << "organisation table form: " << formName(book.lifecycle->lastOpenTableForms().second) << '\n'
               << "encrypted: " << archive::cipherName(book.lifecycle->packageCipher()) << '\n';
    });
}

int convertCommand(const QStringList &arguments, Output io)
{
    if (arguments.size() != 2) {
        io.err << "Usage: qvtool convert OLD NEW\n";
        return 2;
    }
    const QString &target = arguments[1];
    if (QFileInfo::exists(target)) {
        io.err << "qvtool: " << target << " exists; convert writes a new package only\n";
        return 1;
    }
    OpenBook book;
    if (!book.open(arguments[0], io.err, std::make_unique<SavingPrompter>(io.err, target)))
        return 1;
    // The program's own Save As: both tables and every member in the current form.
    book.lifecycle->saveAs();
    io.out << arguments[0] << " (tables: " << formName(book.lifecycle->lastOpenTableForms().first) << ", "
           << formName(book.lifecycle->lastOpenTableForms().second) << ") written to " << target << " in the current form\n";
    return 0;
}

int listCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto filterText = option(args, QStringLiteral("--filter"));
    const auto fieldList = option(args, QStringLiteral("--fields"));
    const bool ignoreCase = flag(args, QStringLiteral("--ignore-case"));
    if (args.size() != 1) {
        io.err << "Usage: qvtool list PACKAGE [--filter EXPR] [--ignore-case] [--fields F1,F2,...|all]\n";
        return 2;
    }
    OpenBook book;
    if (!book.open(args[0], io.err))
        return 1;
    TableView &list = book.data.personList;
    list.setCaseInsensitive(ignoreCase);
    try {
        list.setFilter(filterText.value_or(QString()));
    } catch (const filter::FilterError &e) {
        io.err << e.text() << '\n';
        return 1;
    }
    printPersons(list, fieldList, io.out);
    return 0;
}

namespace {

const char kFindUsage[] = "Usage: qvtool find PACKAGE (--content TEXT --fields LABEL[,LABEL...] [--logic and|or]\n"
                          "       | --birthday MONTH[/DAY] | --name-prefix TEXT | --organisation NAME)\n"
                          "       [--columns F1,F2,...|all] [--show-filter]\n";

// The field labels of the program directory's settings, or those that ship
// with the program when they hold none.
std::unique_ptr<Settings> catalogueSettings()
{
    auto settings = std::make_unique<Settings>(programDirectory() + QStringLiteral("aa.ini"));
    settings->readAll();
    if (settings->fieldsList.isEmpty()) {
        settings = std::make_unique<Settings>(QStringLiteral(":/shipped/aa.ini"));
        settings->readAll();
    }
    return settings;
}

// "3" or "3/14": a month, and a day or 0 for the whole month.
std::optional<std::pair<int, int>> monthAndDay(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    bool monthOk = false, dayOk = true;
    const int month = parts[0].toInt(&monthOk);
    const int day = parts.size() > 1 ? parts[1].toInt(&dayOk) : 0;
    if (parts.size() > 2 || !monthOk || !dayOk || month < 1 || month > 12 || day < 0 || day > 31)
        return std::nullopt;
    return std::pair{month, day};
}

// The one search the options of a find command ask for.
struct FindOptions {
    std::optional<QString> content, labels, logic, birthday, prefix, organisation;

    explicit FindOptions(QStringList &args)
        : content(option(args, QStringLiteral("--content")))
        , labels(option(args, QStringLiteral("--fields")))
        , logic(option(args, QStringLiteral("--logic")))
        , birthday(option(args, QStringLiteral("--birthday")))
        , prefix(option(args, QStringLiteral("--name-prefix")))
        , organisation(option(args, QStringLiteral("--organisation")))
    {
    }

    bool valid() const
    {
        const int searches = int(content.has_value()) + int(birthday.has_value()) + int(prefix.has_value())
            + int(organisation.has_value());
        const bool logicOk = !logic || *logic == QLatin1String("and") || *logic == QLatin1String("or");
        return searches == 1 && content.has_value() == labels.has_value() && logicOk
            && (!birthday || monthAndDay(*birthday));
    }

    // What the search dialog would hand over for the same search.
    SearchChoice choice() const
    {
        SearchChoice c;
        if (birthday) {
            c.kind = SearchChoice::Kind::Quick;
            std::tie(c.month, c.day) = *monthAndDay(*birthday);
        } else {
            c.labels = labels->split(QLatin1Char(','), Qt::SkipEmptyParts);
            c.logic = logic == QLatin1String("or") ? SearchLogic::Or : SearchLogic::And;
            c.content = content->trimmed();
        }
        return c;
    }
};

} // namespace

int findCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto columns = option(args, QStringLiteral("--columns"));
    const bool showFilter = flag(args, QStringLiteral("--show-filter"));
    const FindOptions find(args);
    if (args.size() != 1 || !find.valid()) {
        io.err << kFindUsage;
        return 2;
    }
    const std::unique_ptr<Settings> settings = catalogueSettings();
    const SearchChoice choice = find.content ? find.choice() : SearchChoice();
    for (const QString &label : choice.labels) {
        if (settings->fieldNameForLabel(label).isEmpty()) {
            io.err << "qvtool: no field is labelled \"" << label << "\"\n";
            return 2;
        }
    }
    OpenBook book;
    if (!book.open(args[0], io.err))
        return 1;
    SearchEngine engine(book.data.personList, book.data.organisationLookup);
    if (find.prefix)
        engine.findByNamePrefix(*find.prefix);
    else if (find.organisation)
        engine.findByOrg(organisationForLookup(book.data.organisationLookup, *find.organisation));
    else
        searchAsChosen(engine, FieldCatalogue(*settings), find.choice());
    if (showFilter)
        io.out << "filter: " << book.data.personList.filter() << '\n';
    printPersons(book.data.personList, columns, io.out);
    return 0;
}

int treeCommand(const QStringList &arguments, Output io)
{
    return withBook(arguments, "tree PACKAGE", io, [&](OpenBook &book) {
        for (const CategoryNode *node : book.models.tree().forest().preOrder())
            io.out << QString(2 * node->depth(), QLatin1Char(' ')) << node->caption << " [" << node->number << "]\n";
    });
}

int initialsCommand(const QStringList &arguments, Output io)
{
    return withBook(arguments, "initials PACKAGE", io, [&](OpenBook &book) {
        for (const QString &initial : book.models.editModel().initials())
            io.out << initial << '\n';
    });
}

int generateCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    bool ok1 = false, ok2 = false, ok3 = true;
    const int persons = option(args, QStringLiteral("--persons")).value_or(QString()).toInt(&ok1);
    const int organisations = option(args, QStringLiteral("--organisations")).value_or(QString()).toInt(&ok2);
    const auto seedText = option(args, QStringLiteral("--seed"));
    const quint64 seed = seedText ? seedText->toULongLong(&ok3) : 1;
    if (args.size() != 1 || !ok1 || !ok2 || !ok3 || persons < 0 || organisations < 0) {
        io.err << "Usage: qvtool generate --persons N --organisations M [--seed S] PACKAGE\n";
        return 2;
    }
    const GeneratedBook book = generateBook(persons, organisations, seed);
    QStringList tree{QStringLiteral("All Entries")}, numbers{QStringLiteral("1000")};
    for (int i = 1; i <= 24; ++i) {
        tree << QStringLiteral("\tCategory %1").arg(i);
        numbers << QString::number(1000 + i);
    }
    tree << QStringLiteral("Search Results");
    numbers << QStringLiteral("101");
    const QDateTime stamp(QDate(2026, 1, 1), QTime(0, 0));
    const QList<archive::PackMember> members = {
        {QStringLiteral("Agents.dbf"), writeTableBytes(*book.organisations), stamp},
        {QStringLiteral("Names.dbf"), writeTableBytes(*book.persons), stamp},
        {QStringLiteral("surname.dff"), memberText({QStringLiteral("欧阳"), QStringLiteral("司马"), QStringLiteral("诸葛"), QStringLiteral("上官")}), stamp},
        {QStringLiteral("tree.dff"), memberText(tree), stamp},
        {QStringLiteral("treeno.dff"), memberText(numbers), stamp},
    };
    // The same seed gives the same bytes: no random encryption header, fixed time stamps.
    archive::writePackageFile(args[0], archive::buildArchive(members, QString()));
    io.out << persons << " persons and " << organisations << " organisations written to " << args[0] << '\n';
    return 0;
}

namespace {

std::optional<PrintMode> printModeNamed(const QString &name)
{
    static const QList<std::pair<QString, PrintMode>> modes = {
        {QStringLiteral("cards"), PrintMode::Cards},
        {QStringLiteral("name"), PrintMode::ByName},
        {QStringLiteral("organisation"), PrintMode::ByOrganisation},
        {QStringLiteral("phone"), PrintMode::PhoneList},
    };
    for (const auto &[modeName, mode] : modes) {
        if (modeName == name)
            return mode;
    }
    return std::nullopt;
}

} // namespace

int printCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto modeName = option(args, QStringLiteral("--mode"));
    const auto templateName = option(args, QStringLiteral("--template"));
    const auto filterText = option(args, QStringLiteral("--filter"));
    const auto pdf = option(args, QStringLiteral("--pdf"));
    const bool ignoreCase = flag(args, QStringLiteral("--ignore-case"));
    const auto mode = printModeNamed(modeName.value_or(QString()));
    if (args.size() != 1 || !mode || !pdf) {
        io.err << "Usage: qvtool print PACKAGE --mode cards|name|organisation|phone [--template NAME] "
                  "[--filter EXPR] [--ignore-case] --pdf FILE\n";
        return 2;
    }
    const QString templatesPath = programDirectory() + QStringLiteral("pt.ini");
    const PrintTemplates templates = PrintTemplates::load(templatesPath);
    PrintSettings settings;
    settings.mode = *mode;
    const QString name = templateName.value_or(templates.templateList(*mode).selected);
    if (templates.hasSection(name))
        templates.loadTemplate(name, settings);
    else if (templateName) {
        io.err << "qvtool: no template \"" << name << "\" in " << templatesPath << '\n';
        return 1;
    }
    OpenBook book;
    if (!book.open(args[0], io.err))
        return 1;
    book.data.personList.setCaseInsensitive(ignoreCase);
    try {
        book.data.personList.setFilter(filterText.value_or(QString()));
    } catch (const filter::FilterError &e) {
        io.err << e.text() << '\n';
        return 1;
    }
    const auto content = prepareReport(book.data, *mode, *book.prompter);
    if (!content)
        return 1;
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    Settings options(programDirectory() + QStringLiteral("aa.ini"));
    options.readAll();
    writeReportPdf(*pdf, settings, *content, reportHeader(ownerName(options), date));
    return 0;
}

} // namespace qv::tool

namespace qv::tool {

namespace {

// Answers the save dialog with the package the book came from, so that the
// program's own Save As writes the imported entries back into it.
class SaveInPlacePrompter : public TerminalPrompter {
public:
    SaveInPlacePrompter(QTextStream &err, QString package) : TerminalPrompter(err), m_package(std::move(package)) {}
    std::optional<QString> saveFile(const SaveRequest &) override { return m_package; }

private:
    QString m_package;
};

// The --check-org-same-name question in a terminal: the two sets of values
// are shown and the question takes its safe answer, as every question of the
// tool does: the stored organisation keeps its values.
class TerminalComparer : public OrganisationComparer {
public:
    explicit TerminalComparer(QTextStream &err) : m_err(err) {}
    Choice compare(const OrganisationComparison &comparison) override
    {
        m_err << comparison.heading << '\n' << comparison.existing << '\n' << comparison.imported << '\n'
              << "kept the existing\n";
        return Choice::Keep;
    }

private:
    QTextStream &m_err;
};

// What every import takes besides its two files: the category the new
// entries are filed into and whether a stored organisation of the same name
// is asked about.
struct ImportTarget {
    int categoryNumber = 1000;
    bool checkSameName = false;
};

// Takes --category and --check-org-same-name out of the arguments; nothing
// when the category is no number.
std::optional<ImportTarget> takeImportTarget(QStringList &args)
{
    ImportTarget target;
    const auto category = option(args, QStringLiteral("--category"));
    target.checkSameName = flag(args, QStringLiteral("--check-org-same-name"));
    bool categoryOk = true;
    if (category)
        target.categoryNumber = category->toInt(&categoryOk);
    return categoryOk ? std::optional(target) : std::nullopt;
}

// Entries filed into a number the book has no category for would be found
// under none.
bool holdsCategory(OpenBook &book, int number, QTextStream &err)
{
    if (book.models.tree().nodeOfNumber(number))
        return true;
    err << "qvtool: the book has no category " << number << '\n';
    return false;
}

} // namespace

int exportCsvCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto filterText = option(args, QStringLiteral("--filter"));
    const auto fieldList = option(args, QStringLiteral("--fields"));
    const bool titles = flag(args, QStringLiteral("--header"));
    if (args.size() != 2) {
        io.err << "Usage: qvtool export-csv PACKAGE FILE [--filter EXPR] [--fields NAME,...] [--header]\n";
        return 2;
    }
    const std::unique_ptr<Settings> settings = catalogueSettings();
    OpenBook book;
    if (!book.open(args[0], io.err))
        return 1;
    try {
        book.data.personList.setFilter(filterText.value_or(QString()));
    } catch (const filter::FilterError &e) {
        io.err << e.text() << '\n';
        return 1;
    }
    ExchangeEngine engine(*settings, book.models.editModel(), book.data);
    if (fieldList)
        engine.selectFields(fieldList->split(QLatin1Char(','), Qt::SkipEmptyParts));
    else
        engine.selectExportFields(settings->checkedFieldsList);
    engine.exportCsv(args[1], titles, false);
    io.out << book.data.personList.recordCount() << " entries written to " << args[1] << '\n';
    return 0;
}

int importCsvCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto map = option(args, QStringLiteral("--map"));
    const bool titles = flag(args, QStringLiteral("--header"));
    const auto target = takeImportTarget(args);
    if (args.size() != 2 || !map || !target) {
        io.err << "Usage: qvtool import-csv PACKAGE FILE --map \"FIELD=COLUMN[,COLUMN...];...\" [--category NUMBER] [--header]\n"
                  "       [--check-org-same-name]\n";
        return 2;
    }
    std::unique_ptr<Settings> settings = catalogueSettings();
    QString mapError;
    const auto mapping = parseImportMap(*map, settings->fieldsList, mapError);
    if (!mapping) {
        io.err << "qvtool: --map: " << mapError << '\n';
        return 2;
    }
    settings->importFieldMapping = *mapping;
    settings->checkOrgSameName = target->checkSameName;
    if (!nameMappingMakesSense(*mapping)) {
        io.err << "Either Name or Surname+GivenName(+MidName) should be selected to make sense.\n";
        return 2;
    }
    OpenBook book;
    if (!book.open(args[0], io.err, std::make_unique<SaveInPlacePrompter>(io.err, args[0])))
        return 1;
    if (!holdsCategory(book, target->categoryNumber, io.err))
        return 2;
    ExchangeEngine engine(*settings, book.models.editModel(), book.data);
    engine.openImportFile(args[1]);
    engine.setFirstLineHoldsTitles(titles);
    TerminalComparer comparer(io.err);
    ComparingSameNameCheck sameName(book.models.editModel(), *book.prompter, comparer);
    const ImportReport report = engine.importCsv(target->categoryNumber, sameName, *book.prompter);
    engine.closeImportFile();
    book.lifecycle->saveAs();
    io.out << report.text() << '\n';
    return 0;
}

int importWabCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto target = takeImportTarget(args);
    if (args.size() != 2 || !target) {
        io.err << "Usage: qvtool import-wab PACKAGE FILE [--category NUMBER] [--check-org-same-name]\n";
        return 2;
    }
    OpenBook book;
    if (!book.open(args[0], io.err, std::make_unique<SaveInPlacePrompter>(io.err, args[0])))
        return 1;
    if (!holdsCategory(book, target->categoryNumber, io.err))
        return 2;
    QList<AddressBookContact> contacts;
    try {
        contacts = systemaddressbook::readFile(args[1]);
    } catch (const Error &e) {
        io.err << e.text() << '\n';
        return 1;
    }
    TerminalComparer comparer(io.err);
    WabImportOptions options;
    options.categoryNumber = target->categoryNumber;
    options.checkSameName = target->checkSameName;
    const ImportReport report =
        importAddressBookContacts(book.models.editModel(), *book.prompter, comparer, contacts, options);
    book.lifecycle->saveAs();
    io.out << report.text() << '\n';
    return 0;
}

namespace {

std::optional<vcard::VCardVersion> versionNamed(const QString &text)
{
    if (text == u"2.1")
        return vcard::VCardVersion::V21;
    if (text == u"3.0")
        return vcard::VCardVersion::V30;
    if (text == u"4.0")
        return vcard::VCardVersion::V40;
    return std::nullopt;
}

} // namespace

int exportVCardCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto filterText = option(args, QStringLiteral("--filter"));
    const auto versionText = option(args, QStringLiteral("--version"));
    const auto version = versionNamed(versionText.value_or(QStringLiteral("2.1")));
    if (args.size() != 2 || !version) {
        io.err << "Usage: qvtool export-vcard PACKAGE FILE [--filter EXPR] [--version 2.1|3.0|4.0]\n";
        return 2;
    }
    OpenBook book;
    if (!book.open(args[0], io.err))
        return 1;
    try {
        book.data.personList.setFilter(filterText.value_or(QString()));
    } catch (const filter::FilterError &e) {
        io.err << e.text() << '\n';
        return 1;
    }
    const vcard::EntryCards cards(*book.data.personList.table(), *book.data.organisationList.table());
    vcard::writeVCardFile(args[1], cards, book.data.personList.rows(), *version);
    io.out << book.data.personList.recordCount() << " entries written to " << args[1] << '\n';
    return 0;
}

int importVCardCommand(const QStringList &arguments, Output io)
{
    QStringList args = arguments;
    const auto target = takeImportTarget(args);
    if (args.size() != 2 || !target) {
        io.err << "Usage: qvtool import-vcard PACKAGE FILE [--category NUMBER] [--check-org-same-name]\n";
        return 2;
    }
    OpenBook book;
    if (!book.open(args[0], io.err, std::make_unique<SaveInPlacePrompter>(io.err, args[0])))
        return 1;
    if (!holdsCategory(book, target->categoryNumber, io.err))
        return 2;
    TerminalComparer comparer(io.err);
    vcard::VCardImportOptions options;
    options.categoryNumber = target->categoryNumber;
    options.checkSameName = target->checkSameName;
    const auto report = vcard::importVCardFile(book.models.editModel(), *book.prompter, comparer, args[1], options);
    if (!report)
        return 1;
    book.lifecycle->saveAs();
    io.out << report->text() << '\n';
    return 0;
}

} // namespace qv::tool
