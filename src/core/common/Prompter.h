#pragma once

#include <QFlags>
#include <QString>

#include <optional>

namespace qv {

// Everything a command shows the user goes through this interface, so that
// commands live in core and are tested headless with their exact texts.
class Prompter {
public:
    enum class Icon { Information, Warning, Confirmation, Plain };

    enum class Button { None = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8, Abort = 16 };
    Q_DECLARE_FLAGS(Buttons, Button)

    // A save dialog: filter in the "Name (*.ext)|*.ext" form, the extension
    // appended to a typed name without one, and whether replacing an existing
    // file is confirmed first.
    struct SaveRequest {
        QString caption;
        QString filter;
        QString defaultExtension;
        QString proposedName;
        QString startDirectory;
        bool confirmOverwrite = true;
        // When set: the file type shown first (counted from 0), and on
        // return the one the user chose.
        int *filterIndex = nullptr;
    };

    struct OpenRequest {
        QString caption;
        QString filter;
        QString startDirectory;
    };

    virtual ~Prompter() = default;

    // Returns the button pressed; closing the box counts as Cancel when it is
    // offered, else as the only or last button.
    virtual Button message(const QString &text, Icon icon, Buttons buttons) = 0;
    virtual std::optional<QString> input(const QString &caption, const QString &prompt,
                                         const QString &initialText) = 0;
    virtual std::optional<QString> password(const QString &prompt) = 0;
    virtual std::optional<QString> openFile(const OpenRequest &request) = 0;
    virtual std::optional<QString> saveFile(const SaveRequest &request) = 0;
    virtual std::optional<QString> chooseFolder(const QString &caption, const QString &startDirectory) = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Prompter::Buttons)

QString iconName(Prompter::Icon icon);
QString buttonsName(Prompter::Buttons buttons);
QString buttonName(Prompter::Button button);

} // namespace qv
