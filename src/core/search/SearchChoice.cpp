#include "search/SearchChoice.h"

#include "common/TextWidth.h"
#include "exchange/FieldCatalogue.h"

namespace qv {

namespace {

void searchOneField(SearchEngine &engine, const FieldCatalogue &catalogue, const SearchChoice &choice)
{
    engine.setLogic(choice.logic);
    const CatalogueField field = catalogue.fieldForLabel(choice.labels.first());
    const bool ignoreCase = searchIgnoresCase(choice.content);
    if (field.table == FieldTable::Person)
        engine.findInPersonField(field.name, choice.content, ignoreCase);
    else if (field.table == FieldTable::Organisation)
        engine.findInOrgField(field.name, choice.content, ignoreCase);
}

void searchSeveralFields(SearchEngine &engine, const FieldCatalogue &catalogue, const SearchChoice &choice)
{
    engine.clearSearch();
    engine.setContinue(true);
    engine.setLogic(SearchLogic::Or);
    const bool ignoreCase = searchIgnoresCase(choice.content);
    for (const QString &label : choice.labels) {
        const CatalogueField field = catalogue.fieldForLabel(label);
        if (field.table == FieldTable::Person)
            engine.addPersonCondition(field.name, choice.content);
        else if (field.table == FieldTable::Organisation)
            engine.addOrgCondition(field.name, choice.content, ignoreCase);
    }
    engine.applySearch(ignoreCase);
}

} // namespace

bool searchIgnoresCase(const QString &content)
{
    if (content.isEmpty())
        return true;
    const char32_t first = content.size() > 1 && content[0].isHighSurrogate() && content[1].isLowSurrogate()
        ? QChar::surrogateToUcs4(content[0], content[1])
        : content[0].unicode();
    return !isWide(first);
}

void searchAsChosen(SearchEngine &engine, const FieldCatalogue &catalogue, const SearchChoice &choice)
{
    engine.setContinue(choice.kind == SearchChoice::Kind::Continue);
    if (choice.kind == SearchChoice::Kind::Quick) {
        if (choice.day == 0)
            engine.findByBirthMonth(choice.month);
        else
            engine.findByBirthday(choice.month, choice.day);
    } else if (choice.labels.size() == 1) {
        searchOneField(engine, catalogue, choice);
    } else if (choice.labels.size() > 1) {
        searchSeveralFields(engine, catalogue, choice);
    }
}

} // namespace qv
