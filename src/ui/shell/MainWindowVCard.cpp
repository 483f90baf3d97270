#include "shell/MainWindow.h"

#include "data/RecordStore.h"
#include "editing/OrganisationCompareDialog.h"
#include "exchange/ImportDialog.h"
#include "exchange/vcard/VCardCommands.h"
#include "navigation/CategoryTreeModel.h"
#include "navigation/RecordListView.h"

namespace qv {

void MainWindow::exportVCard()
{
    const vcard::VCardExportContext context{m_data.personList,
                                            *m_data.organisationList.table(),
                                            *m_options,
                                            *m_prompter,
                                            m_models.editModel().rowIdsOf(m_entryList->marks().rows()),
                                            [this](bool busy) { setBusy(busy); }};
    runCommand([&] { vcard::exportVCardCommand(context); });
}

void MainWindow::importVCard()
{
    OrganisationCompareDialog comparer(this);
    const vcard::VCardImportContext context{m_models.editModel(),
                                            *m_options,
                                            *m_prompter,
                                            *m_importDialog,
                                            comparer,
                                            [this](int k) { return m_models.tree().numberAt(k); },
                                            [this](bool busy) { setBusy(busy); }};
    std::optional<int> picked;
    runCommand([&] { picked = vcard::importVCardCommand(context); });
    if (picked)
        listImported(*picked);
}

} // namespace qv
