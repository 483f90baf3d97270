#include "data/RecordStore.h"

namespace qv {

namespace {

const QString kNameIndex = QStringLiteral("NameIndex");
const QString kCompanyIndex = QStringLiteral("CompanyID");

void orderPersons(TableView &view)
{
    view.setIndexDefs({{kNameIndex, QStringLiteral("Yellow;SurName;GivenName")}});
    view.setIndexName(kNameIndex);
}

void orderOrganisations(TableView &view)
{
    view.setIndexDefs({{kCompanyIndex, QStringLiteral("Company")}});
    view.setIndexName(kCompanyIndex);
}

} // namespace

RecordStore::RecordStore()
    : personRead(QStringLiteral("personRead"), personFields())
    , personList(QStringLiteral("personList"), personFields())
    , personLookup(QStringLiteral("personLookup"), personFields())
    , personNameLookup(QStringLiteral("personNameLookup"), personFields())
    , personPrint(QStringLiteral("personPrint"), personFields())
    , organisationRead(QStringLiteral("organisationRead"), organisationFields())
    , organisationList(QStringLiteral("organisationList"), organisationFields())
    , organisationLookup(QStringLiteral("organisationLookup"), organisationFields())
    , organisationPrint(QStringLiteral("organisationPrint"), organisationFields())
{
    for (TableView *v : {&personRead, &personList, &personLookup, &personNameLookup, &personPrint})
        orderPersons(*v);
    for (TableView *v : {&organisationRead, &organisationList, &organisationLookup, &organisationPrint})
        orderOrganisations(*v);
    personList.setAfterScroll([this] { followCurrentPerson(); });
    personRead.setAfterScroll([this] { followCurrentPerson(); });
    bindViews();
}

void RecordStore::bindViews()
{
    using B = TableView::Binding;
    personList.bindTo(personRead, B::KeepSettings);
    personLookup.bindTo(personRead, B::TakeOverSettings);
    personNameLookup.bindTo(personRead, B::TakeOverSettings);
    personPrint.bindTo(personList, B::TakeOverSettings);
    organisationList.bindTo(organisationRead, B::KeepSettings);
    organisationLookup.bindTo(organisationRead, B::TakeOverSettings);
    organisationPrint.bindTo(organisationList, B::TakeOverSettings);
    followCurrentPerson();
}

void RecordStore::followCurrentPerson()
{
    const Value orgId = personList.value(QStringLiteral("OrgID"));
    if (isNull(orgId) || !organisationList.locate(QStringLiteral("CoID"), orgId))
        organisationList.locate(QStringLiteral("CoID"), qint32(0));
}

} // namespace qv
