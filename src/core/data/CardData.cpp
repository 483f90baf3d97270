#include "data/CardData.h"

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

TCardData::TCardData()
    : NameReadDataSet(QStringLiteral("NameReadDataSet"), personFields())
    , NameDataSet(QStringLiteral("NameDataSet"), personFields())
    , NameLookDataset(QStringLiteral("NameLookDataset"), personFields())
    , NameLookDataSet2(QStringLiteral("NameLookDataSet2"), personFields())
    , NamePrDataset(QStringLiteral("NamePrDataset"), personFields())
    , AgentReadDataSet(QStringLiteral("AgentReadDataSet"), organisationFields())
    , AgentDataSet(QStringLiteral("AgentDataSet"), organisationFields())
    , AgentLookDataSet(QStringLiteral("AgentLookDataSet"), organisationFields())
    , AgentPrDataset(QStringLiteral("AgentPrDataset"), organisationFields())
{
    for (TableView *v : {&NameReadDataSet, &NameDataSet, &NameLookDataset, &NameLookDataSet2, &NamePrDataset})
        orderPersons(*v);
    for (TableView *v : {&AgentReadDataSet, &AgentDataSet, &AgentLookDataSet, &AgentPrDataset})
        orderOrganisations(*v);
    NameDataSet.setAfterScroll([this] { NameDataSetAfterScroll(); });
    NameReadDataSet.setAfterScroll([this] { NameDataSetAfterScroll(); });
    bindViews();
}

void TCardData::bindViews()
{
    using B = TableView::Binding;
    NameDataSet.bindTo(NameReadDataSet, B::KeepSettings);
    NameLookDataset.bindTo(NameReadDataSet, B::TakeOverSettings);
    NameLookDataSet2.bindTo(NameReadDataSet, B::TakeOverSettings);
    NamePrDataset.bindTo(NameDataSet, B::TakeOverSettings);
    AgentDataSet.bindTo(AgentReadDataSet, B::KeepSettings);
    AgentLookDataSet.bindTo(AgentReadDataSet, B::TakeOverSettings);
    AgentPrDataset.bindTo(AgentDataSet, B::TakeOverSettings);
    NameDataSetAfterScroll();
}

void TCardData::NameDataSetAfterScroll()
{
    const Value orgId = NameDataSet.value(QStringLiteral("OrgID"));
    if (isNull(orgId) || !AgentDataSet.locate(QStringLiteral("CoID"), orgId))
        AgentDataSet.locate(QStringLiteral("CoID"), qint32(0));
}

} // namespace qv
