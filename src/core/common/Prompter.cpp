#include "common/Prompter.h"

#include <QStringList>

namespace qv {

QString iconName(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QStringLiteral("information");
    case Prompter::Icon::Warning: return QStringLiteral("warning");
    case Prompter::Icon::Confirmation: return QStringLiteral("confirmation");
    case Prompter::Icon::Plain: return QStringLiteral("plain");
    }
    return {};
}

QString buttonName(Prompter::Button button)
{
    switch (button) {
    case Prompter::Button::None: return QStringLiteral("None");
    case Prompter::Button::Ok: return QStringLiteral("OK");
    case Prompter::Button::Yes: return QStringLiteral("Yes");
    case Prompter::Button::No: return QStringLiteral("No");
    case Prompter::Button::Cancel: return QStringLiteral("Cancel");
    case Prompter::Button::Abort: return QStringLiteral("Abort");
    }
    return {};
}

QString buttonsName(Prompter::Buttons buttons)
{
    QStringList names;
    for (auto b : {Prompter::Button::Ok, Prompter::Button::Yes, Prompter::Button::No,
                   Prompter::Button::Cancel, Prompter::Button::Abort}) {
        if (buttons.testFlag(b))
            names << buttonName(b);
    }
    return names.join(QLatin1Char('/'));
}

} // namespace qv
