#pragma once

#include "exchange/CsvCommands.h"

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QPushButton;

namespace qv {

// "QV Fields Selection": the catalogue's fields to tick for the CSV export
// and the copy, and how the file is written. One dialog for the life of the
// program: its marks and its Select All caption stay between runs.
class FieldSelectionDialog : public QDialog, public ExportFieldChooser {
    Q_OBJECT
public:
    explicit FieldSelectionDialog(QWidget *parent = nullptr);

    std::optional<Choice> choose(const QList<IniLine> &catalogue, const QList<IniLine> &ticked, bool byteOrderMark) override;

private:
    void load(const QList<IniLine> &catalogue, const QList<IniLine> &ticked);
    void toggleAll();

    QGridLayout *m_grid = nullptr;
    QList<QCheckBox *> m_items;
    QList<IniLine> m_ticked;
    QPushButton *m_selectAll = nullptr;
    QCheckBox *m_titles = nullptr;
    QCheckBox *m_byteOrderMark = nullptr;
};

} // namespace qv
