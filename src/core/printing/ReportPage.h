#pragma once

#include "printing/PrintSettings.h"

#include <QString>

#include <vector>

namespace qv {

// A font of the printed page; the family is the name the template or the
// report gives, which the painter resolves to an installed font.
struct ReportFont {
    QString family;
    int pointSize = 10;
    bool bold = false;
    qint32 color = kWindowTextColor;
    bool operator==(const ReportFont &) const = default;
};

// One text on one line, in millimetres from the page's top-left corner. The
// text's top stands at y; it is cut to width, so that it never runs into the
// next text of its line or out of its column.
struct ReportText {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0; // of the line it stands on
    QString text;
    ReportFont font;
};

enum class RuleStyle { DashDot, Dotted };

// A horizontal rule from x1 to x2 at y, in millimetres.
struct ReportRule {
    double x1 = 0;
    double x2 = 0;
    double y = 0;
    RuleStyle style = RuleStyle::DashDot;
};

// Everything printed on one page.
struct ReportPage {
    int number = 1;
    std::vector<ReportText> texts;
    std::vector<ReportRule> rules;
};

// The paper and the bands around the records, in millimetres.
namespace page {
constexpr double kWidth = 210.0;
constexpr double kHeight = 297.0;
constexpr double kMargin = 10.0;
constexpr double kBandHeight = 10.6; // the title line and the footer line
constexpr double kTitleLeft = 5.3;
constexpr double kFooterTextTop = 4.8;
constexpr double kFooterTextLeft = 26.5;
constexpr double kDateLeft = 152.4;
constexpr double kPageNumberLeft = 175.2;
constexpr double kFooterTop = kHeight - kMargin - kBandHeight;
} // namespace page

} // namespace qv
