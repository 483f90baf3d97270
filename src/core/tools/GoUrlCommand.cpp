#include "tools/GoUrlCommand.h"

#include "common/Prompter.h"
#include "tools/FieldPiece.h"
#include "tools/LinkUrls.h"

namespace qv {

std::optional<QUrl> urlToOpen(const std::optional<TextFieldState> &focusedField, Prompter &prompter)
{
    std::optional<QUrl> url;
    if (focusedField && !focusedField->text.isEmpty())
        url = webUrl(addressInField(*focusedField));
    if (!url)
        prompter.message(QStringLiteral("Please specify a valid URL."), Prompter::Icon::Plain, Prompter::Button::Ok);
    return url;
}

} // namespace qv
