#include "TerminalPrompter.h"

#include "TerminalPassword.h"

namespace qv::tool {

Prompter::Button TerminalPrompter::message(const QString &text, Icon, Buttons buttons)
{
    m_err << text << '\n';
    m_err.flush();
    for (Button safe : {Button::Cancel, Button::No, Button::Ok})
        if (buttons.testFlag(safe))
            return safe;
    return Button::Ok;
}

std::optional<QString> TerminalPrompter::password(const QString &prompt)
{
    if (const auto fromEnvironment = environmentPassword()) {
        // A right password is asked for once; asking again would only repeat a wrong one.
        if (m_environmentAnswered)
            return std::nullopt;
        m_environmentAnswered = true;
        return fromEnvironment;
    }
    return askPassword(prompt);
}

} // namespace qv::tool
