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
        // Asking again would only give the same answer: one try per member at most.
        return m_environmentAnswers++ < 8 ? fromEnvironment : std::nullopt;
    }
    return askPassword(prompt);
}

} // namespace qv::tool
