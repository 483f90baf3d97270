#include "exchange/ImportReport.h"

#include "editing/NameCut.h"

namespace qv {

QString ImportReport::text() const
{
    QString text = QString::number(imported) + QStringLiteral(" entries got imported.");
    if (blankNames == 1)
        text += QStringLiteral("\n1 record was skipped because its name was blank.");
    else if (blankNames > 1)
        text += QStringLiteral("\n%1 records were skipped because their names were blank.").arg(blankNames);
    if (unreadableDates == 1)
        text += QStringLiteral("\n1 date could not be read and was left empty.");
    else if (unreadableDates > 1)
        text += QStringLiteral("\n%1 dates could not be read and were left empty.").arg(unreadableDates);
    if (cutNames > 0)
        text += QLatin1Char('\n') + cutNamesSentence(cutNames);
    return text;
}

} // namespace qv
