#include "exchange/ExchangeEngine.h"

#include "common/Error.h"
#include "common/Prompter.h"
#include "data/QuietView.h"
#include "data/RecordStore.h"
#include "data/RecordTable.h"
#include "editing/EditModel.h"
#include "exchange/OrganisationNames.h"
#include "exchange/csv/ColumnTitles.h"
#include "exchange/csv/CsvFileWriter.h"
#include "exchange/csv/CsvReader.h"
#include "exchange/csv/CsvRowLines.h"
#include "exchange/csv/ImportDate.h"
#include "exchange/csv/ImportMapping.h"

#include <QDir>

namespace qv {

namespace {

const QString kWhileImporting = QStringLiteral(" while importing entries ");
const QStringList kNameFields = {QStringLiteral("Name"), QStringLiteral("SurName"), QStringLiteral("GivenName"), QStringLiteral("MidName")};
constexpr size_t kNameLine = 0; // Name is the first line of the catalogue and the mapping

void countImported(ImportReport &report, const NameCuts &cuts)
{
    ++report.imported;
    report.cutNames += cuts.isEmpty() ? 0 : 1;
}

QString tickedValue(const QList<IniLine> &ticked, const QString &name)
{
    for (const IniLine &line : ticked) {
        if (line.key.compare(name, Qt::CaseInsensitive) == 0)
            return line.value;
    }
    return QString();
}

} // namespace

ExchangeEngine::ExchangeEngine(Settings &settings, EditModel &editModel, RecordStore &data)
    : m_settings(settings)
    , m_editModel(editModel)
    , m_persons(data.personList)
    , m_organisations(data.organisationList)
    , m_catalogue(settings)
{
}

ExchangeEngine::~ExchangeEngine() = default;

int ExchangeEngine::listedCount() const
{
    return m_persons.recordCount();
}

// ---- Export

void ExchangeEngine::selectExportFields(const QList<IniLine> &ticked)
{
    QStringList names;
    for (const QString &name : m_catalogue.tableFields()) {
        if (tickedValue(ticked, name).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            names << name;
    }
    selectFields(names);
}

void ExchangeEngine::selectFields(const QStringList &names)
{
    m_selectedPersonFields.clear();
    m_selectedOrganisationFields.clear();
    for (const QString &name : names) {
        switch (m_catalogue.tableOf(name.trimmed())) {
        case FieldTable::Person:
            m_selectedPersonFields << m_persons.fieldIndex(name.trimmed());
            break;
        case FieldTable::Organisation:
            m_selectedOrganisationFields << m_organisations.fieldIndex(name.trimmed());
            break;
        case FieldTable::None:
            throw Error(QStringLiteral("There is no field named \"%1\".").arg(name.trimmed()));
        }
    }
    std::sort(m_selectedPersonFields.begin(), m_selectedPersonFields.end());
    std::sort(m_selectedOrganisationFields.begin(), m_selectedOrganisationFields.end());
}

QStringList ExchangeEngine::selectedFields() const
{
    QStringList names;
    for (int f : m_selectedPersonFields)
        names << personFields()[f].name;
    for (int f : m_selectedOrganisationFields)
        names << organisationFields()[f].name;
    return names;
}

QStringList ExchangeEngine::selectedTitles() const
{
    QStringList titles;
    for (const QString &name : selectedFields()) {
        const QString label = tickedValue(m_settings.fieldsList, name);
        titles << (label.isEmpty() ? name : label);
    }
    return titles;
}

void ExchangeEngine::exportCsv(const QString &path, bool columnTitles, bool byteOrderMark)
{
    const CsvRowLines lines(*m_persons.table(), m_selectedPersonFields, *m_organisations.table(), m_selectedOrganisationFields);
    CsvFileOptions options;
    options.byteOrderMark = byteOrderMark;
    if (columnTitles)
        options.columnTitles = selectedTitles();
    writeCsvFile(path, lines, m_persons.rows(), options);
}

QString ExchangeEngine::currentEntryText()
{
    const int row = m_persons.currentRow();
    if (row < 0)
        return QString();
    const CsvRowLines lines(*m_persons.table(), m_selectedPersonFields, *m_organisations.table(), m_selectedOrganisationFields);
    QString line;
    lines.appendRowLine(line, row);
    return line;
}

// ---- Import: the file and its examples

void ExchangeEngine::openImportFile(const QString &path)
{
    closeImportFile();
    m_importFile.setFileName(path);
    if (!m_importFile.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), m_importFile.errorString()));
    try {
        m_reader = std::make_unique<CsvReader>(m_importFile, path);
        m_firstRecord = m_reader->atEnd() ? QStringList() : m_reader->readRecord();
    } catch (const Error &) {
        closeImportFile();
        throw;
    }
    m_titlesFound = ColumnTitles(m_settings.fieldsList).areTitles(m_firstRecord);
    m_skipTitles = m_titlesFound;
    m_reader->rewind();
    m_examples.clear();
}

void ExchangeEngine::closeImportFile()
{
    m_reader.reset();
    m_importFile.close();
    m_firstRecord.clear();
    m_examples.clear();
    m_skipTitles = m_titlesFound = false;
}

void ExchangeEngine::setFirstLineHoldsTitles(bool on)
{
    m_skipTitles = on;
    m_reader->rewind();
}

ImportFieldMapping ExchangeEngine::mappingFromTitles() const
{
    return ColumnTitles(m_settings.fieldsList).mappingOf(m_firstRecord);
}

QStringList ExchangeEngine::nextExample()
{
    if (m_reader->atEnd()) {
        m_reader->rewind();
        return m_examples;
    }
    if (m_skipTitles && m_reader->recordLine() == 0) {
        m_reader->readRecord();
        if (m_reader->atEnd()) // the titles alone
            return m_examples;
    }
    const QStringList values = m_reader->readRecord();
    m_examples.clear();
    for (int k = 0; k < values.size(); ++k)
        m_examples << QString::number(k + 1) + QLatin1String("  ") + values[k];
    return m_examples;
}

// ---- Import: the records

void ExchangeEngine::splitImportFields()
{
    m_importPersonFields.clear();
    m_importOrganisationFields.clear();
    m_companyLine = -1;
    const RecordTable &persons = *m_persons.table();
    const RecordTable &organisations = *m_organisations.table();
    const int lines = std::min(int(m_settings.fieldsList.size()), int(m_settings.importFieldMapping.size()));
    for (int line = 0; line < lines; ++line) {
        const QString &name = m_settings.fieldsList[line].key;
        if (m_catalogue.isPersonField(name)) {
            const int f = persons.fieldIndex(name);
            m_importPersonFields.append({line, f, persons.fields()[f].type, persons.fields()[f].name});
        } else if (m_catalogue.isOrganisationField(name)) {
            const int f = organisations.fieldIndex(name);
            m_importOrganisationFields.append({line, f, organisations.fields()[f].type, organisations.fields()[f].name});
            if (organisations.fields()[f].name == QLatin1String("Company"))
                m_companyLine = line;
        }
    }
}

void ExchangeEngine::markImportPoint()
{
    m_personCounter = m_persons.changeCount();
    m_organisationCounter = m_organisations.changeCount();
}

void ExchangeEngine::rollBackImport()
{
    m_persons.rollbackTo(m_personCounter);
    m_organisations.rollbackTo(m_organisationCounter);
}

void ExchangeEngine::writePersonFields(const QStringList &values, ImportReport &report, NameCuts &cuts)
{
    for (const ImportField &f : std::as_const(m_importPersonFields)) {
        const MappedColumns &columns = m_settings.importFieldMapping[size_t(f.line)];
        if (columns[0] < 1)
            continue;
        if (f.type == FieldType::Date) {
            const std::optional<QDate> date = parseImportDate(firstColumnValue(columns, values));
            report.unreadableDates += date ? 0 : 1;
            m_persons.setValue(f.field, date && date->isValid() ? Value(*date) : Value());
        } else if (kNameFields.contains(f.name)) {
            writeNameField(m_persons, f.name, joinedText(columns, values), cuts);
        } else {
            m_persons.setValue(f.field, joinedText(columns, values));
        }
    }
}

void ExchangeEngine::nameStep(const QStringList &values, bool fromParts, NameCuts &cuts)
{
    // The parts are split from the whole name of the file, not from the head that Name holds.
    QString name = fromParts ? QString() : joinedText(m_settings.importFieldMapping[kNameLine], values);
    bool nameChanged = true;
    bool partsChanged = fromParts;
    cuts += m_editModel.applyNameStep(name, nameChanged, partsChanged);
    if (fromParts)
        m_persons.setValue(QStringLiteral("Name"), name);
}

OrganisationValues ExchangeEngine::comparedValues(const QStringList &values) const
{
    OrganisationValues compared;
    for (const ImportField &f : m_importOrganisationFields) {
        const MappedColumns &columns = m_settings.importFieldMapping[size_t(f.line)];
        if (columns[0] >= 1 && f.line != m_companyLine && f.type != FieldType::Date)
            compared.append({f.name, joinedText(columns, values)});
    }
    return compared;
}

bool ExchangeEngine::reachesOrganisationColumns(const QStringList &values) const
{
    for (const ImportField &f : m_importOrganisationFields) {
        if (f.line == m_companyLine || f.type == FieldType::Date)
            continue;
        for (int column : m_settings.importFieldMapping[size_t(f.line)]) {
            if (column > values.size())
                return false;
        }
    }
    return true;
}

void ExchangeEngine::writeOrganisationFields(const QStringList &values)
{
    if (m_organisations.state() == TableView::State::Browse)
        m_organisations.edit();
    for (const ImportField &f : std::as_const(m_importOrganisationFields)) {
        const MappedColumns &columns = m_settings.importFieldMapping[size_t(f.line)];
        if (columns[0] < 1 || f.line == m_companyLine)
            continue;
        if (f.type == FieldType::Date) {
            if (columns[0] > values.size())
                continue; // the record says nothing of it: a stored date stays
            const std::optional<QDate> date = parseImportDate(firstColumnValue(columns, values));
            m_organisations.setValue(f.field, date && date->isValid() ? Value(*date) : Value());
        } else {
            m_organisations.setValue(f.field, joinedText(columns, values));
        }
    }
}

void ExchangeEngine::linkOrganisation(const QStringList &values, OrganisationNames &names, SameNameCheck &check)
{
    QString name = firstColumnValue(m_settings.importFieldMapping[size_t(m_companyLine)], values).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("QV Auto Org ") + m_persons.text(QStringLiteral("ClientID"));
    const int stored = names.coIdOf(name);
    if (stored < 0) {
        const int coId = m_editModel.appendOrganisation(name);
        m_persons.setValue(QStringLiteral("OrgID"), qint32(coId));
        writeOrganisationFields(values);
        m_organisations.post();
        names.add(name, coId);
        return;
    }
    // A record that stops before one of the organisation's columns cannot
    // say what the stored organisation holds: it is linked as it stands.
    if (!m_settings.checkOrgSameName || !reachesOrganisationColumns(values)) {
        m_persons.setValue(QStringLiteral("OrgID"), qint32(stored));
        return;
    }
    const bool write = check.link(name, comparedValues(values));
    const int coId = std::get<qint32>(m_persons.value(QStringLiteral("OrgID")));
    if (coId != stored && m_organisations.locate(QStringLiteral("CoID"), qint32(coId)))
        names.add(m_organisations.text(QStringLiteral("Company")), coId);
    if (write)
        writeOrganisationFields(values);
}

bool ExchangeEngine::importRecord(const QStringList &values, int categoryNumber, OrganisationNames &names, SameNameCheck &check,
                                  Prompter &prompter, ImportReport &report)
{
    const bool fromParts = m_settings.importFieldMapping[kNameLine][0] < 1;
    NameCuts cuts;
    markImportPoint();
    try {
        m_editModel.addPerson();
        writePersonFields(values, report, cuts);
        nameStep(values, fromParts, cuts);
        if (m_editModel.lastComposedName().trimmed().isEmpty()) {
            rollBackImport();
            ++report.blankNames;
            return true;
        }
        for (const char *slot : {"Group1", "Group2", "Group3", "Group4"})
            m_persons.setValue(QString::fromLatin1(slot), qint32(1000));
        if (categoryNumber > 1000)
            m_persons.setValue(QStringLiteral("Group1"), qint32(categoryNumber));
        m_persons.setValue(QStringLiteral("Yellow"), false);
    } catch (const Error &e) {
        rollBackImport();
        prompter.message(e.text() + kWhileImporting, Prompter::Icon::Information, Prompter::Button::Ok);
        return false;
    }
    // No Company column, or a record that stops before it: no organisation.
    // An empty company value, by contrast, gets an auto organisation.
    const int companyColumn = m_companyLine < 0 ? 0 : m_settings.importFieldMapping[size_t(m_companyLine)][0];
    if (companyColumn < 1 || values.size() < companyColumn) {
        countImported(report, cuts);
        return true;
    }
    try {
        linkOrganisation(values, names, check);
    } catch (const Error &e) {
        const auto answer = prompter.message(e.text() + kWhileImporting + QString::number(report.imported)
                                                 + QStringLiteral(". This may be due to invalid format of the imported file. Continue?"),
                                             Prompter::Icon::Warning, Prompter::Button::Yes | Prompter::Button::No);
        rollBackImport();
        return answer == Prompter::Button::Yes;
    }
    countImported(report, cuts);
    return true;
}

ImportReport ExchangeEngine::importCsv(int categoryNumber, SameNameCheck &check, Prompter &prompter)
{
    ImportReport report;
    splitImportFields();
    OrganisationNames names(m_organisations);
    const QuietView quietPersons(m_persons);
    const QuietView quietOrganisations(m_organisations);
    m_reader->rewind();
    bool titles = m_skipTitles;
    // The new persons are sorted into the list once, after the last record.
    // Organisations are not batched: each record looks them up by name.
    {
        const RecordTable::OrderBatch personBatch(*m_persons.table());
        while (true) {
            QStringList values;
            try {
                if (m_reader->atEnd())
                    break;
                values = m_reader->readRecord();
            } catch (const Error &e) {
                prompter.message(e.text() + kWhileImporting, Prompter::Icon::Information, Prompter::Button::Ok);
                break;
            }
            if (std::exchange(titles, false))
                continue;
            if (!importRecord(values, categoryNumber, names, check, prompter, report))
                break;
        }
    }
    m_persons.changeCount(); // commits the rows still open
    m_organisations.changeCount();
    return report;
}

} // namespace qv
