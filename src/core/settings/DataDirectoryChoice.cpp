#include "settings/DataDirectoryChoice.h"

#include "settings/Settings.h"

namespace qv {

void takeDataDirectory(Settings &settings, const QString &chosen, const QString &programDir)
{
    if (chosen.compare(programDir, Qt::CaseInsensitive) != 0)
        settings.dataDir = chosen;
}

} // namespace qv
