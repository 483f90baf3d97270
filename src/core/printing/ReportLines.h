#pragma once

#include "printing/PrintField.h"
#include "printing/PrintMode.h"
#include "printing/ReportPage.h"

#include <QList>

namespace qv {

// One thing printed on a report line, at a distance in millimetres from the
// left edge of its column: a field in its template font, a caption in a
// fixed font, or a rule along the top of the line running to the column's edge.
struct LineItem {
    enum class Kind { Field, Caption, Rule };
    Kind kind = Kind::Field;
    double x = 0;
    PrintField field = PrintField::Name;
    QString caption;
    ReportFont captionFont;
    RuleStyle rule = RuleStyle::DashDot;
};

// A printed line of a report: its template line number (its height and
// switch) and what stands on it, left to right.
struct ReportLine {
    int number = 1;
    QList<LineItem> items;
    // In the list by organisation, lines 1 to 3 print the organisation and
    // the rest its people.
    bool organisationLine = false;
};

// How a report's records stand on the page.
struct ReportColumns {
    int count = 1;
    double width = 0;
    double gap = 0;
};

const QList<ReportLine> &reportLines(PrintMode mode);
ReportColumns reportColumns(PrintMode mode);

} // namespace qv
