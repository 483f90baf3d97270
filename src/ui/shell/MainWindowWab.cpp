#include "shell/MainWindow.h"

#include "editing/OrganisationCompareDialog.h"
#include "exchange/ImportDialog.h"
#include "exchange/wab/WabCommands.h"
#include "navigation/CategoryTreeModel.h"
#include "navigation/CategoryTreeView.h"
#include "navigation/RecordListView.h"

namespace qv {

void MainWindow::importWabFile()
{
    runWabImport(true);
}

void MainWindow::importCurrentWab()
{
    runWabImport(false);
}

void MainWindow::runWabImport(bool chooseFile)
{
    const WabCommandContext context{m_models.editModel(),
                                    *m_options,
                                    *m_prompter,
                                    *m_importDialog,
                                    *m_organisationCompare,
                                    [this](int k) { return m_models.tree().numberAt(k); },
                                    [this](bool busy) { setBusy(busy); }};
    std::optional<int> picked;
    runCommand([&] { picked = chooseFile ? importWabFileCommand(context) : importCurrentWabCommand(context); });
    if (picked)
        listImported(*picked);
}

} // namespace qv
