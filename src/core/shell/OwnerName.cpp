#include "shell/OwnerName.h"

namespace qv {

QString ownerName()
{
    return qEnvironmentVariable("USER");
}

} // namespace qv
