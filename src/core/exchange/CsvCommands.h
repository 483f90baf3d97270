#pragma once

#include "settings/IniDocument.h"

#include <QString>

#include <functional>
#include <optional>

namespace qv {

class ExchangeEngine;
class Prompter;
class SameNameCheck;
class Settings;

// The field selection dialog of the CSV export and the copy: the user ticks
// fields of the catalogue and says how the file is written.
class ExportFieldChooser {
public:
    struct Choice {
        QList<IniLine> ticked;
        bool columnTitles = false;
        bool byteOrderMark = false;
    };
    virtual ~ExportFieldChooser() = default;
    virtual std::optional<Choice> choose(const QList<IniLine> &catalogue, const QList<IniLine> &ticked, bool byteOrderMark) = 0;
};

// The import dialog: shows the engine's open file, lets the user assign
// columns and a category. On OK the assignment is in the settings' import
// field mapping.
class ImportChooser {
public:
    virtual ~ImportChooser() = default;
    // True for OK. The picked category position is read afterwards, OK or not.
    virtual bool choose(ExchangeEngine &engine) = 0;
    // The pre-order index of the chosen category; 0 for none.
    virtual int pickedPosition() const = 0;
};

using BusySetter = std::function<void(bool)>;

// The CSV export command: the listed entries into a file the user names.
void exportCsvCommand(ExchangeEngine &engine, Settings &settings, Prompter &prompter, ExportFieldChooser &chooser,
                      const BusySetter &setBusy);

// The copy command: the current entry's row line, or nothing when the user
// cancelled or no entry is listed.
std::optional<QString> copyCurrentCommand(ExchangeEngine &engine, Settings &settings, Prompter &prompter,
                                          ExportFieldChooser &chooser);

// The CSV import command. Returns the picked category position once the
// dialog was shown (OK or Cancel), nothing when the user chose no file.
// numberAt turns a picked position into a category number.
std::optional<int> importCsvCommand(ExchangeEngine &engine, Settings &settings, Prompter &prompter, ImportChooser &chooser,
                                    SameNameCheck &check, const std::function<int(int)> &numberAt, const BusySetter &setBusy);

} // namespace qv
