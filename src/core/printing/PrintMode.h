#pragma once

#include <QString>

#include <array>

namespace qv {

// The four printed forms of the address book, by the numbers the print
// settings keep for them.
enum class PrintMode { ByName = 0, ByOrganisation = 2, Cards = 3, PhoneList = 4 };

constexpr int kPrintModeCount = 4;

// The pages of the print dialog, in order; "SelectedMode" in pt.ini is a page index.
constexpr std::array<PrintMode, kPrintModeCount> kModePages = {PrintMode::Cards, PrintMode::ByName,
                                                                PrintMode::ByOrganisation, PrintMode::PhoneList};

int pageOfMode(PrintMode mode);
// A page index out of range reads as the first page.
PrintMode modeOfPage(int page);

// The pt.ini section that lists the mode's templates.
QString templateListSection(PrintMode mode);
// The caption of the mode's page in the print dialog.
QString modeCaption(PrintMode mode);
// How many of the ten template lines the mode prints.
int modeLineCount(PrintMode mode);
// The name of the print job; the phone list has none.
QString printJobName(PrintMode mode);

} // namespace qv
