#pragma once

#include "exchange/CsvCommands.h"
#include "exchange/wab/WabCommands.h"
#include "settings/Settings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace qv {

class CategoryPicker;
class CategoryTreeModel;
class Prompter;

// "Import Dialog": the columns of a CSV file assigned to the catalogue's
// fields while looking at example records, and the category for the new
// entries; without a file, the category alone. One dialog for the life of
// the program.
class ImportDialog : public QDialog, public ImportChooser, public CategoryQuestion {
    Q_OBJECT
public:
    ImportDialog(Settings &settings, CategoryTreeModel &tree, Prompter &prompter, QWidget *parent = nullptr);

    bool choose(ExchangeEngine &engine) override;
    int pickedPosition() const override { return m_picked; }
    // Only the category part shows: an import without column mapping.
    std::optional<int> askCategory() override;

private:
    void fillGrid(const ImportFieldMapping &mapping);
    ImportFieldMapping gridMapping() const;
    void showExample(const QStringList &example);
    void nextExample();
    void pick();
    void clearCurrent();
    void clearAll();
    void openCategoryPicker();
    void showCategory(int index);
    // No category, and the picker built from the tree as it is now.
    void resetCategory();
    void setTitlesLine(bool on);

    Settings &m_settings;
    Prompter &m_prompter;
    CategoryTreeModel &m_tree;
    ExchangeEngine *m_engine = nullptr;
    int m_picked = 0;
    QWidget *m_mappingPart = nullptr;
    CategoryPicker *m_picker = nullptr;
    QLineEdit *m_category = nullptr;
    QCheckBox *m_titles = nullptr;
    QTableWidget *m_grid = nullptr;
    QLabel *m_fieldsTitle = nullptr;
    QListWidget *m_examples = nullptr;
};

} // namespace qv
