#include "shell/OwnerName.h"

#include "settings/Settings.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace qv {

QString accountOwnerName(const QString &fullNameField, const QString &login)
{
    const QString fullName = fullNameField.section(QLatin1Char(','), 0, 0).trimmed();
    return fullName.isEmpty() ? login : fullName;
}

QString accountOwnerName()
{
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size_t(suggested > 0 ? suggested : 16384));
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return qEnvironmentVariable("USER");
    return accountOwnerName(QString::fromLocal8Bit(found->pw_gecos), QString::fromLocal8Bit(found->pw_name));
}

QString ownerName(const Settings &settings)
{
    return settings.ownerName.isEmpty() ? accountOwnerName() : settings.ownerName;
}

} // namespace qv
