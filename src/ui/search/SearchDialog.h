#pragma once

#include "search/SearchChoice.h"

#include <QDialog>

#include <optional>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qv {

class Settings;

// The search dialog: content and fields to search with AND or OR logic,
// afresh or continuing from the last results, and the quick searches by
// birthday, by a portion of an address and by a portion of a phone number.
// Created once; the content, the quick-search boxes and the logic keep what
// they held from one search to the next.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    // Where the address and phone quick searches find their fields in the
    // list of searchable fields.
    static const QList<int> kAddressPositions;
    static const QList<int> kPhonePositions;

    SearchDialog(Settings &settings, QWidget *parent = nullptr);

    // Refills the field list from the settings with nothing selected, opens
    // the dialog at the point (kept on the screen) and returns the user's
    // choice, or nothing for Cancel.
    std::optional<SearchChoice> ask(const QPoint &topLeft);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createUpperPart();
    QGroupBox *createQuickSearch();
    QToolButton *startButton(const QString &name);
    void fillFieldList();
    void fieldSelectionChanged();
    void setQuickSearchShown(bool shown);
    // The selected fields with the logic and the content.
    void finish(SearchChoice::Kind kind, SearchLogic logic, const QString &content);
    // The selected fields with the dialog's logic and content.
    void finishWithContent(SearchChoice::Kind kind);
    void finishBirthday();
    // Selects the items at the positions too and searches the text in all
    // selected fields with OR.
    void finishWithPositions(const QList<int> &positions, const QString &text);

    Settings &m_settings;
    SearchChoice m_choice;

    QLineEdit *m_content = nullptr;
    QRadioButton *m_and = nullptr;
    QRadioButton *m_or = nullptr;
    QListWidget *m_fields = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_continue = nullptr;
    QToolButton *m_quickToggle = nullptr;
    QGroupBox *m_quickSearch = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_day = nullptr;
    QToolButton *m_birthdayButton = nullptr;
    QLineEdit *m_address = nullptr;
    QToolButton *m_addressButton = nullptr;
    QLineEdit *m_phone = nullptr;
    QToolButton *m_phoneButton = nullptr;
};

} // namespace qv
