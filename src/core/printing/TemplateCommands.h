#pragma once

#include "printing/PrintTemplates.h"

#include <optional>

namespace qv {

class Prompter;

// What the print dialog's "&Save", "Save &As" and "&Delete" do to pt.ini.
// Each acts on the mode it is given, the one of the page shown, whose
// templates the list holds; the settings' mode may be another one's, from
// the last capture. Each writes the file at once; a failed write throws
// qv::Error with the user's text, and the templates in memory may then be
// ahead of the file.
namespace templates {

// Writes the settings as the named template, then the mode's list with that
// name selected, and the mode's page as the one last saved.
void save(PrintTemplates &file, PrintMode mode, TemplateList &list, const QString &name, const PrintSettings &settings);

// Asks for a new name and saves the settings under it, appended to the list
// and selected. Returns the name, or nothing when none was given or it was refused.
std::optional<QString> saveAs(PrintTemplates &file, PrintMode mode, TemplateList &list, const PrintSettings &settings,
                              Prompter &prompter);

// Removes the selected template from the list and the file, selects the
// first one left and loads it into the settings. Refuses, with a message,
// to remove the last one; returns whether one was removed.
bool remove(PrintTemplates &file, PrintMode mode, TemplateList &list, PrintSettings &settings, Prompter &prompter);

} // namespace templates

} // namespace qv
