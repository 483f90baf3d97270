#include "tools/DialCommand.h"

#include "common/Prompter.h"
#include "tools/FieldPiece.h"
#include "tools/LinkUrls.h"

namespace qv {

namespace {

void askForNumber(Prompter &prompter)
{
    prompter.message(QStringLiteral("Please specify a phone number."), Prompter::Icon::Plain, Prompter::Button::Ok);
}

} // namespace

std::optional<QString> askNumberToDial(const std::optional<TextFieldState> &focusedField, Prompter &prompter)
{
    if (!focusedField || focusedField->text.isEmpty()) {
        askForNumber(prompter);
        return std::nullopt;
    }
    return prompter.input(QStringLiteral("Quorvel"), QStringLiteral("Dial"), dialNumber(*focusedField));
}

std::optional<QUrl> callUrl(const QString &number, bool focusInTextField, Prompter &prompter)
{
    const std::optional<QUrl> url = focusInTextField ? telephoneUrl(number) : std::nullopt;
    if (!url)
        askForNumber(prompter);
    return url;
}

} // namespace qv
