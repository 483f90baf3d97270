#pragma once

#include "data/Schema.h"
#include "editing/NameCut.h"
#include "exchange/FieldCatalogue.h"
#include "exchange/ImportReport.h"
#include "exchange/SameNameCheck.h"
#include "settings/Settings.h"

#include <QFile>
#include <QStringList>

#include <memory>

namespace qv {

class CsvReader;
class EditModel;
class OrganisationNames;
class Prompter;
class RecordStore;
class TableView;

// Moves entries between the open book and CSV files or the clipboard: the
// listed entries out as CSV, the current one as a line of text, and a CSV
// file in through the edit model with a column mapping.
class ExchangeEngine {
public:
    ExchangeEngine(Settings &settings, EditModel &editModel, RecordStore &data);
    ~ExchangeEngine();

    const FieldCatalogue &catalogue() const { return m_catalogue; }
    int listedCount() const;

    // Export. The fields are chosen by the ticked lines of the catalogue
    // (looked up by name), or named directly; either way each table's
    // fields go in table order, the person fields first.
    void selectExportFields(const QList<IniLine> &ticked);
    // Throws qv::Error for a name that is in neither table.
    void selectFields(const QStringList &names);
    QStringList selectedFields() const;
    // The catalogue labels of the selected fields (a field without one: its name).
    QStringList selectedTitles() const;
    // Every listed entry, in list order. Throws qv::Error when the file cannot be written.
    void exportCsv(const QString &path, bool columnTitles, bool byteOrderMark);
    // The row line of the current entry, without a line end.
    QString currentEntryText();

    // Import. The file stays open from openImportFile to closeImportFile.
    // Throws qv::Error when the file cannot be opened, is empty or is not text.
    void openImportFile(const QString &path);
    void closeImportFile();
    bool isImportFileOpen() const { return m_reader != nullptr; }
    // Whether the first record holds column titles: found out on opening, then as the user says.
    bool firstLineHoldsTitles() const { return m_skipTitles; }
    void setFirstLineHoldsTitles(bool on);
    // The mapping the titles of the first record suggest.
    ImportFieldMapping mappingFromTitles() const;
    // The next record as "k  value" lines; at the end of the file the reader
    // starts again and the last list is returned once more. Throws qv::Error
    // for a record the reader refuses.
    QStringList nextExample();
    // Imports every record with the settings' import field mapping: Name
    // from the parts when no column is given for Name; new entries filed
    // into the category when its number is above 1000.
    ImportReport importCsv(int categoryNumber, SameNameCheck &check, Prompter &prompter);

private:
    struct ImportField {
        int line; // of the catalogue and the mapping
        int field; // in its table
        FieldType type;
        QString name;
    };
    void splitImportFields();
    void markImportPoint();
    void rollBackImport();
    // A name text wider than its field is cut, and added to the cuts.
    void writePersonFields(const QStringList &values, ImportReport &report, NameCuts &cuts);
    void nameStep(const QStringList &values, bool fromParts, NameCuts &cuts);
    void linkOrganisation(const QStringList &values, OrganisationNames &names, SameNameCheck &check);
    // Writes the mapped organisation fields but Company into the organisation row.
    void writeOrganisationFields(const QStringList &values);
    OrganisationValues comparedValues(const QStringList &values) const;
    // Whether the record holds every column of the values the compare window shows.
    bool reachesOrganisationColumns(const QStringList &values) const;
    bool importRecord(const QStringList &values, int categoryNumber, OrganisationNames &names, SameNameCheck &check,
                      Prompter &prompter, ImportReport &report);

    Settings &m_settings;
    EditModel &m_editModel;
    TableView &m_persons;
    TableView &m_organisations;
    FieldCatalogue m_catalogue;
    QList<int> m_selectedPersonFields;
    QList<int> m_selectedOrganisationFields;

    QFile m_importFile;
    std::unique_ptr<CsvReader> m_reader;
    QStringList m_firstRecord;
    bool m_skipTitles = false;
    bool m_titlesFound = false;
    QStringList m_examples;
    QList<ImportField> m_importPersonFields;
    QList<ImportField> m_importOrganisationFields;
    int m_companyLine = -1;
    int m_personCounter = 0;
    int m_organisationCounter = 0;
};

} // namespace qv
