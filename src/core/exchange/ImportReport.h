#pragma once

#include <QString>

namespace qv {

// What an import did: the entries it added and the records it left out.
struct ImportReport {
    int imported = 0;
    int blankNames = 0;      // records skipped: no name after the name step
    int unreadableDates = 0; // date values no format read, kept empty
    int cutNames = 0;        // entries added with a name part cut to its field's width

    // "N entries got imported." and a line for each kind of record left out
    // or changed.
    QString text() const;
};

} // namespace qv
