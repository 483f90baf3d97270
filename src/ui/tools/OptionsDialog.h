#pragma once

#include "settings/Settings.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qv {

class Prompter;

// "Options": confirmations, the owner's name, the fonts of the four areas of the main window,
// whether window sizes carry over, the data directory, saving with a
// password, the password itself and the cipher of books with one. Works on copies until "&OK"; a password
// set with "&Set Password..." holds at once, whatever closes the dialog.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(Settings &settings, Prompter &prompter, QWidget *parent = nullptr);

    // Shows the settings' values modally; true when the user confirmed.
    bool ask();
    // What the main window takes over after "&OK".
    bool saveWithPassword() const;
    const QString &confirmedDataDirectory() const { return m_confirmedDataDirectory; }

signals:
    void passwordChanged();

private:
    QWidget *createGeneralTab();
    QWidget *createLayoutTab();
    QWidget *createFileTab();
    void load();
    void store();
    void restore();
    void showArea(int area);
    void chooseFont();
    void showSample(const AreaFont &font);
    void browseDataDirectory();
    void setPassword();

    Settings &m_settings;
    Prompter &m_prompter;
    // Working copies: surname initials, navigation tree, entry list, entry viewer.
    std::array<AreaFont, 4> m_fonts;
    AreaFont m_sampleFont;
    bool m_rememberedSaveWithPassword = true;
    QString m_rememberedDataDirectory;
    QString m_confirmedDataDirectory;

    QCheckBox *m_confirmDeletion = nullptr;
    QCheckBox *m_checkOrgSameName = nullptr;
    QLineEdit *m_ownerName = nullptr;
    QLineEdit *m_sample = nullptr;
    QButtonGroup *m_areas = nullptr;
    QCheckBox *m_keepSizes = nullptr;
    QCheckBox *m_saveWithPassword = nullptr;
    QLineEdit *m_dataDirectory = nullptr;
    QComboBox *m_encryption = nullptr;
};

} // namespace qv
