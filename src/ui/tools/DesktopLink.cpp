#include "tools/DesktopLink.h"

#include "common/Prompter.h"

#include <QDesktopServices>

namespace qv {

namespace {

QString missingProgramText(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return QStringLiteral("No e-mail program is installed. Please install one to write e-mail.");
    if (scheme == QLatin1String("tel"))
        return QStringLiteral("No program for phone calls is installed. Please install one to dial.");
    if (scheme == QLatin1String("file"))
        return QStringLiteral("No program is installed to show the file %1.").arg(url.toLocalFile());
    return QStringLiteral("No web browser is installed. Please install one to open web pages.");
}

} // namespace

bool openOnDesktop(const QUrl &url, Prompter &prompter)
{
    if (QDesktopServices::openUrl(url))
        return true;
    prompter.message(missingProgramText(url), Prompter::Icon::Warning, Prompter::Button::Ok);
    return false;
}

} // namespace qv
