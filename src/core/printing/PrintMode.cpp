#include "printing/PrintMode.h"

#include <algorithm>

namespace qv {

int pageOfMode(PrintMode mode)
{
    return int(std::find(kModePages.begin(), kModePages.end(), mode) - kModePages.begin());
}

PrintMode modeOfPage(int page)
{
    return page >= 0 && page < kPrintModeCount ? kModePages[size_t(page)] : kModePages[0];
}

QString templateListSection(PrintMode mode)
{
    switch (mode) {
    case PrintMode::Cards: return QStringLiteral("CardTemplates");
    case PrintMode::ByName: return QStringLiteral("DetailListTemplates");
    case PrintMode::ByOrganisation: return QStringLiteral("AgentDetailListTemplates");
    case PrintMode::PhoneList: return QStringLiteral("PhoneListTemplates");
    }
    return {};
}

QString modeCaption(PrintMode mode)
{
    switch (mode) {
    case PrintMode::Cards: return QStringLiteral("Cards");
    case PrintMode::ByName: return QStringLiteral("Detail List by Name");
    case PrintMode::ByOrganisation: return QStringLiteral("Detail List by Org");
    case PrintMode::PhoneList: return QStringLiteral("Phone List");
    }
    return {};
}

int modeLineCount(PrintMode mode)
{
    switch (mode) {
    case PrintMode::Cards: return 10;
    case PrintMode::PhoneList: return 8;
    case PrintMode::ByName:
    case PrintMode::ByOrganisation: return 6;
    }
    return 0;
}

QString printJobName(PrintMode mode)
{
    switch (mode) {
    case PrintMode::Cards: return QStringLiteral("QV Printing cards by name");
    case PrintMode::ByName: return QStringLiteral("QV Printing by Name");
    case PrintMode::ByOrganisation: return QStringLiteral("QV Printing by Org");
    case PrintMode::PhoneList: return {};
    }
    return {};
}

} // namespace qv
