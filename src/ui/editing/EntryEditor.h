#pragma once

#include "editing/EntryEditSession.h"
#include "editing/KnownPositions.h"
#include "editing/OrganisationRename.h"

#include <QDialog>

#include <array>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStringListModel;
class QToolButton;

namespace qv {

class CategoryPicker;
class EditModel;
class MemoEditWindow;
class NamePartsDialog;
class NullableDateEdit;
class OrganisationRenamePopup;
class Prompter;
class RecordStore;
class TableView;
class ViewListModel;

// The window in which one person entry is added or changed: the person's own
// fields, the "Work" fields of the organisation it is linked to (which edit
// that organisation itself), and four category slots. Fields write into the
// open rows as the user types; what the window does on leaving the Name, Org
// and Position fields and on OK, Add Next and Cancel is the session's, whose
// outcome the edit model's edit state holds when the window closes.
class EntryEditor : public QDialog {
    Q_OBJECT
public:
    EntryEditor(EditModel &editModel, RecordStore &data, Prompter &prompter, QWidget *parent = nullptr);
    ~EntryEditor() override;

    // Shows the entry that AddPerson or EditPerson opened, modally, over the
    // area given in screen coordinates (the main window's detail pane).
    void run(const QString &caption, const QRect &over);

    // Cancel (the button or Esc): every change the window made is undone.
    void reject() override;

    CategoryPicker *picker() const { return m_picker; }
    NamePartsDialog *namePartsDialog() const { return m_nameParts; }
    OrganisationRenamePopup *renamePopup() const { return m_renamePopup; }
    MemoEditWindow *memoWindow() const { return m_memoWindow; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Binding {
        QWidget *control;
        TableView *view;
        QString field;
    };
    struct DesignedWidth {
        QWidget *field;
        int width; // in pixels, as designed
    };

    void createControls();
    QLineEdit *boundLine(TableView &view, const QString &field, QWidget *parent);
    QPlainTextEdit *boundMemo(TableView &view, const QString &field, const QString &hint, QWidget *parent);
    QWidget *createSlots();
    void layOut();
    void applyDesignedSizes();
    void setTabOrder();
    void place(const QRect &over);

    void load(const TableView &view);
    void write(TableView &view, const QString &field, const QVariant &value);

    QWidget *leavableFieldOf(QWidget *widget) const;
    void focusMoved(QWidget *old, QWidget *now);
    // The focus is now in the widget (none: it leaves the fields), by hand or
    // by program: the Name, Org or Position field it left runs its step.
    void enterField(QWidget *widget);
    void moveFocusTo(QWidget *widget);
    void leaveName();
    void leaveOrganisation();
    void leavePosition();
    void completePosition(const QString &typed);
    void openNameParts();
    void renameOrganisation();
    void openPicker(int slot);
    void showSlot(int slot);
    void finish(bool addNext);
    void closeIfEnded();

    EditModel &m_editModel;
    RecordStore &m_data;
    Prompter &m_prompter;
    EntryEditSession m_session;
    KnownPositions m_positions;
    OrganisationRename m_rename;
    std::vector<Binding> m_bindings;
    std::vector<DesignedWidth> m_designedWidths; // of the fields of a fixed width
    bool m_loading = false;
    bool m_completionSuppressed = false;
    QWidget *m_fieldWithFocus = nullptr; // Name, Org or Position while one of them has the focus

    QLineEdit *m_name = nullptr;
    QToolButton *m_nameButton = nullptr;
    QComboBox *m_position = nullptr;
    QStringListModel *m_positionModel = nullptr;
    QComboBox *m_organisation = nullptr;
    ViewListModel *m_organisationNames = nullptr;
    QGroupBox *m_work = nullptr;
    QGroupBox *m_home = nullptr;
    QGroupBox *m_categories = nullptr;
    QPlainTextEdit *m_workMemo = nullptr;
    QPlainTextEdit *m_homeMemo = nullptr;
    NullableDateEdit *m_birthday = nullptr;
    std::array<QLineEdit *, 4> m_slots{};
    std::array<QToolButton *, 4> m_slotButtons{};
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_addNext = nullptr;

    CategoryPicker *m_picker = nullptr;
    NamePartsDialog *m_nameParts = nullptr;
    OrganisationRenamePopup *m_renamePopup = nullptr;
    MemoEditWindow *m_memoWindow = nullptr;
};

} // namespace qv
