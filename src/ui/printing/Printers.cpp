#include "printing/Printers.h"

#include <QPrinterInfo>

namespace qv {

bool printerInstalled()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

} // namespace qv
