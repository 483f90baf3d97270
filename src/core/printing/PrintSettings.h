#pragma once

#include "printing/PrintField.h"
#include "printing/PrintMode.h"

#include <QString>

#include <array>

namespace qv {

// Colours as the templates store them: 0x00BBGGRR, or the system-colour flag
// plus a system colour index.
constexpr qint32 kSystemColorFlag = qint32(0x80000000u);
constexpr qint32 kWindowTextColor = kSystemColorFlag | 8;

struct FieldFont {
    QString name = QStringLiteral("Verdana");
    int size = 10; // points
    qint32 color = kWindowTextColor;
    bool operator==(const FieldFont &) const = default;
};

constexpr int kTemplateLineCount = 10;
// Template line heights are pixels at this many per inch.
constexpr double kTemplatePixelsPerInch = 96.0;

// What a report reads: the mode, and the font of every field, the height of
// every line and whether each line is printed, as a template gives them.
struct PrintSettings {
    PrintMode mode = PrintMode::Cards;
    std::array<FieldFont, kPrintFieldCount> fonts{};
    std::array<int, kTemplateLineCount> lineHeights = {12, 12, 12, 12, 12, 12, 12, 12, 12, 12};
    // Lines 2 to 10; line 1 is always printed.
    std::array<bool, kTemplateLineCount - 1> lineSwitches = {true, true, true, true, true, true, true, true, true};

    FieldFont &font(PrintField field) { return fonts[size_t(field)]; }
    const FieldFont &font(PrintField field) const { return fonts[size_t(field)]; }
    // Lines are numbered from 1.
    int lineHeight(int line) const { return lineHeights[size_t(line - 1)]; }
    bool printsLine(int line) const { return line == 1 || lineSwitches[size_t(line - 2)]; }
    void setLinePrinted(int line, bool on)
    {
        if (line > 1)
            lineSwitches[size_t(line - 2)] = on;
    }
};

} // namespace qv
