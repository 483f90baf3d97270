#pragma once

#include "data/TextFieldIndex.h"

#include <array>

namespace qv {

class EditModel;
class Prompter;
class TableView;

// What the entry editor does with one person entry from the moment it opens
// until OK, Add Next or Cancel: the name step with the duplicate-name
// question, the link to an organisation by name, the four category slots and
// the outcome, which it leaves in the edit model's edit state. The window
// only shows the fields and reports what the user did.
class EntryEditSession {
public:
    // Entries with the same name are looked for in the person lookup copy,
    // which sees every stored entry whatever the list shows.
    EntryEditSession(EditModel &editModel, TableView &personLookup, Prompter &prompter);

    // Starts on the entry that AddPerson or EditPerson opened. A new entry
    // gets four empty category slots and is a white-page entry.
    void begin();
    bool isAdding() const { return m_adding; }
    // Until OK, Add Next or Cancel (the duplicate review included) ended it.
    bool isOpen() const { return m_open; }
    bool isYellowPage() const;
    // The organisation name the Org field starts with.
    QString organisationName() const;

    void nameEdited() { m_nameChanged = true; }
    bool nameChanged() const { return m_nameChanged; }
    // Leaving the Name field: a changed name of a white-page entry is split
    // into its parts (or composed from parts set by hand) and written back
    // into the text; a field too narrow for its part keeps what fits, and a
    // warning says so. Returns false when the user chose to review entries of
    // the same name, which ends the edit.
    bool leaveName(QString &text);
    // The name-parts dialog was confirmed or cancelled.
    void namePartsConfirmed();
    void namePartsCancelled() { m_partsChanged = false; }

    // Leaving the Org field: links the entry to the organisation of that
    // name, creating it when new; a blank name links the default organisation.
    // The exact name of the organisation linked keeps that link.
    void linkOrganisation(const QString &name);

    // Slots are numbered 1 to 4; a slot holds a pre-order index of the
    // category tree, 0 for an empty slot.
    int slotIndex(int slot) const { return m_slots[size_t(slot - 1)]; }
    // Puts the category of that index into the slot; one that another slot
    // holds leaves the slot empty.
    void pickCategory(int slot, int index);
    QString slotPath(int slot) const;

    // "&OK" or "&Add Next" with the texts of the Name and Org fields; the
    // Name text is normalised by the name step when it runs.
    void finish(bool addNext, QString &nameText, const QString &organisationText);
    // "&Cancel": every change made since the entry was opened is undone.
    void cancel();

private:
    bool nameStep(QString &text);
    // The entry is linked to the organisation shown, which bears exactly that name.
    bool isLinkedTo(const QString &name) const;
    void makeYellowPage(const QString &organisationText);

    EditModel &m_edit;
    TableView &m_personLookup;
    Prompter &m_prompter;
    TextFieldIndex m_names{QStringLiteral("Name"), Qt::CaseSensitive};
    bool m_adding = false;
    bool m_open = false;
    bool m_nameChanged = false;
    bool m_partsChanged = false;
    std::array<int, 4> m_slots{};
};

} // namespace qv
