#include "printing/ReportLines.h"

namespace qv {

namespace {

using F = PrintField;

LineItem field(double x, PrintField f)
{
    LineItem item;
    item.kind = LineItem::Kind::Field;
    item.x = x;
    item.field = f;
    return item;
}

LineItem caption(double x, const char *text, const char *family = "Arial")
{
    LineItem item;
    item.kind = LineItem::Kind::Caption;
    item.x = x;
    item.caption = QString::fromLatin1(text);
    item.captionFont = ReportFont{QString::fromLatin1(family), 8};
    return item;
}

LineItem serifCaption(double x, const char *text)
{
    return caption(x, text, "Times New Roman");
}

LineItem rule(double x, RuleStyle style)
{
    LineItem item;
    item.kind = LineItem::Kind::Rule;
    item.x = x;
    item.rule = style;
    return item;
}

LineItem topRule() { return rule(0, RuleStyle::DashDot); }
LineItem dottedRule() { return rule(9.0, RuleStyle::Dotted); }

QList<ReportLine> cardLines()
{
    return {
        {1, {topRule(), field(0, F::Name), field(63.0, F::Position)}},
        {2, {field(3.2, F::Address), field(77.3, F::Zip)}},
        {3, {caption(3.2, "Tel:"), field(9.0, F::Phone)}},
        {4, {caption(3.2, "BP: "), field(9.0, F::Pager), caption(42.3, "Mobile:"), field(52.4, F::Mobile)}},
        {5, {caption(3.2, "Email:"), field(12.2, F::Email)}},
        {6, {dottedRule(), caption(3.2, "Org:"), field(11.1, F::Agent)}},
        {7, {field(4.2, F::CAddress), field(82.0, F::CZip)}},
        {8, {caption(4.2, "Tel:"), field(10.8, F::CPhone)}},
        {9, {caption(4.2, "Direct:"), field(13.2, F::DPhone), caption(48.2, "Fax:"), field(54.5, F::CFax)}},
        {10, {caption(4.2, "Email:"), field(12.2, F::CEmail)}},
    };
}

QList<ReportLine> byNameLines()
{
    return {
        {1, {topRule(), field(0.5, F::Name), field(89.2, F::Position)}},
        {2, {field(7.9, F::Address), field(112.2, F::Zip)}},
        {3, {caption(7.9, "Tel:"), field(15.9, F::Phone), caption(87.6, "BP:"), field(93.7, F::Pager),
             caption(126.5, "Mobile:"), field(138.6, F::Mobile)}},
        {4, {dottedRule(), field(7.9, F::Agent), field(96.8, F::CAddress), field(176.7, F::CZip)}},
        {5, {serifCaption(7.9, "W-Tel:"), field(19.1, F::CPhone), caption(84.7, "Direct:"), field(94.5, F::DPhone),
             serifCaption(138.9, "W-Fax:"), field(150.5, F::CFax)}},
        {6, {serifCaption(7.9, "Email:"), field(18.0, F::Email), serifCaption(90.0, "W-Email:"), field(103.2, F::CEmail)}},
    };
}

QList<ReportLine> byOrganisationLines()
{
    return {
        {1, {topRule(), field(0.5, F::Agent)}, true},
        {2, {field(12.7, F::CAddress), field(172.8, F::CZip)}, true},
        {3, {caption(12.4, "Tel:"), field(20.4, F::CPhone), caption(101.3, "Fax:"), field(110.6, F::CFax),
             caption(142.1, "Email:"), field(155.0, F::CEmail)}, true},
        {4, {field(5.8, F::Name), field(84.9, F::Position), field(150.3, F::Email)}},
        {5, {field(12.7, F::Address), field(114.3, F::Zip), caption(143.1, "H-Tel:"), field(154.5, F::Phone)}},
        {6, {caption(12.4, "W-Direct:"), field(25.4, F::DPhone), caption(106.1, "Mobile:"), field(118.5, F::Mobile),
             caption(151.1, "BP:"), field(156.1, F::Pager)}},
    };
}

QList<ReportLine> phoneListLines()
{
    return {
        {1, {topRule(), field(0, F::Name)}},
        {2, {caption(3.2, "Tel:"), field(9.0, F::Phone)}},
        {3, {caption(3.2, "Mobile:"), field(13.2, F::Mobile)}},
        {4, {caption(3.2, "BP: "), field(9.0, F::Pager)}},
        {5, {dottedRule(), caption(3.2, "Org:"), field(11.1, F::Agent)}},
        {6, {caption(4.2, "W-Tel:"), field(13.8, F::CPhone)}},
        {7, {caption(4.2, "Direct:"), field(13.2, F::DPhone)}},
        {8, {caption(4.2, "W-Fax:"), field(14.8, F::CFax)}},
    };
}

} // namespace

const QList<ReportLine> &reportLines(PrintMode mode)
{
    static const QList<ReportLine> cards = cardLines();
    static const QList<ReportLine> byName = byNameLines();
    static const QList<ReportLine> byOrganisation = byOrganisationLines();
    static const QList<ReportLine> phoneList = phoneListLines();
    switch (mode) {
    case PrintMode::Cards: return cards;
    case PrintMode::ByName: return byName;
    case PrintMode::ByOrganisation: return byOrganisation;
    case PrintMode::PhoneList: return phoneList;
    }
    return cards;
}

ReportColumns reportColumns(PrintMode mode)
{
    switch (mode) {
    case PrintMode::Cards: return {2, 93.4, 3.0};
    case PrintMode::PhoneList: return {3, 64.8, 0.0};
    case PrintMode::ByName:
    case PrintMode::ByOrganisation: return {1, 190.0, 0.0};
    }
    return {};
}

} // namespace qv
