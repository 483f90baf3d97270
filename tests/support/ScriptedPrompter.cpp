#include "ScriptedPrompter.h"

#include <QTest>

namespace qv::test {

namespace {

QString kindName(ScriptedPrompter::Kind kind)
{
    switch (kind) {
    case ScriptedPrompter::Kind::Message: return QStringLiteral("message");
    case ScriptedPrompter::Kind::Input: return QStringLiteral("input");
    case ScriptedPrompter::Kind::Password: return QStringLiteral("password");
    case ScriptedPrompter::Kind::OpenFile: return QStringLiteral("open file");
    case ScriptedPrompter::Kind::SaveFile: return QStringLiteral("save file");
    case ScriptedPrompter::Kind::Folder: return QStringLiteral("folder");
    }
    return {};
}

bool sameCall(const ScriptedPrompter::Call &a, const ScriptedPrompter::Call &b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case ScriptedPrompter::Kind::Message:
        return a.text == b.text && a.icon == b.icon && a.buttons == b.buttons;
    case ScriptedPrompter::Kind::Input:
        return a.text == b.text && a.caption == b.caption;
    case ScriptedPrompter::Kind::Password:
        return a.text == b.text;
    default:
        return true; // file and folder choices are matched by kind; their requests are recorded
    }
}

} // namespace

QString ScriptedPrompter::Call::describe() const
{
    QString d = kindName(kind);
    if (kind == Kind::Message)
        d += QStringLiteral(" [%1, %2]").arg(iconName(icon), buttonsName(buttons));
    if (!caption.isEmpty())
        d += QStringLiteral(" caption \"%1\"").arg(caption);
    if (!text.isEmpty())
        d += QStringLiteral(" \"%1\"").arg(text);
    return d;
}

ScriptedPrompter::ScriptedPrompter()
    : m_onFailure([](const QString &why) { QTest::qFail(qPrintable(why), __FILE__, __LINE__); })
{
}

ScriptedPrompter::~ScriptedPrompter()
{
    verifyAllAnswered();
}

void ScriptedPrompter::fail(const QString &why)
{
    if (m_onFailure)
        m_onFailure(why);
}

bool ScriptedPrompter::verifyAllAnswered()
{
    const bool allAnswered = m_queue.isEmpty();
    for (const Expected &e : std::as_const(m_queue))
        fail(QStringLiteral("expected prompt never shown: ") + e.call.describe());
    m_queue.clear();
    return allAnswered;
}

QStringList ScriptedPrompter::messages() const
{
    QStringList texts;
    for (const Call &c : m_calls) {
        if (c.kind == Kind::Message)
            texts << c.text;
    }
    return texts;
}

std::optional<ScriptedPrompter::Expected> ScriptedPrompter::take(const Call &call)
{
    m_calls << call;
    if (m_queue.isEmpty()) {
        fail(QStringLiteral("unexpected prompt: ") + call.describe());
        return std::nullopt;
    }
    if (!sameCall(m_queue.front().call, call)) {
        fail(QStringLiteral("prompt shown: %1\nprompt expected: %2")
                 .arg(call.describe(), m_queue.front().call.describe()));
        return std::nullopt;
    }
    return m_queue.takeFirst();
}

void ScriptedPrompter::expectMessage(const QString &text, Icon icon, Buttons buttons, Button answer)
{
    Expected e;
    e.call.kind = Kind::Message;
    e.call.text = text;
    e.call.icon = icon;
    e.call.buttons = buttons;
    e.button = answer;
    m_queue << e;
}

void ScriptedPrompter::expectInput(const QString &caption, const QString &prompt, std::optional<QString> answer)
{
    Expected e;
    e.call.kind = Kind::Input;
    e.call.caption = caption;
    e.call.text = prompt;
    e.text = std::move(answer);
    m_queue << e;
}

void ScriptedPrompter::expectPassword(const QString &prompt, std::optional<QString> answer)
{
    Expected e;
    e.call.kind = Kind::Password;
    e.call.text = prompt;
    e.text = std::move(answer);
    m_queue << e;
}

void ScriptedPrompter::expectOpenFile(std::optional<QString> answer)
{
    Expected e;
    e.call.kind = Kind::OpenFile;
    e.text = std::move(answer);
    m_queue << e;
}

void ScriptedPrompter::expectSaveFile(std::optional<QString> answer, int fileType)
{
    Expected e;
    e.call.kind = Kind::SaveFile;
    e.text = std::move(answer);
    e.fileType = fileType;
    m_queue << e;
}

void ScriptedPrompter::expectFolder(std::optional<QString> answer)
{
    Expected e;
    e.call.kind = Kind::Folder;
    e.text = std::move(answer);
    m_queue << e;
}

Prompter::Button ScriptedPrompter::message(const QString &text, Icon icon, Buttons buttons)
{
    Call c;
    c.kind = Kind::Message;
    c.text = text;
    c.icon = icon;
    c.buttons = buttons;
    const auto e = take(c);
    if (!e)
        return buttons.testFlag(Button::Cancel) ? Button::Cancel : Button::Ok;
    return e->button;
}

std::optional<QString> ScriptedPrompter::input(const QString &caption, const QString &prompt,
                                               const QString &initialText)
{
    Call c;
    c.kind = Kind::Input;
    c.caption = caption;
    c.text = prompt;
    c.initialText = initialText;
    const auto e = take(c);
    return e ? e->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::password(const QString &prompt)
{
    Call c;
    c.kind = Kind::Password;
    c.text = prompt;
    const auto e = take(c);
    return e ? e->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::openFile(const OpenRequest &request)
{
    Call c;
    c.kind = Kind::OpenFile;
    c.caption = request.caption;
    c.open = request;
    const auto e = take(c);
    return e ? e->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::saveFile(const SaveRequest &request)
{
    Call c;
    c.kind = Kind::SaveFile;
    c.caption = request.caption;
    c.save = request;
    const auto e = take(c);
    if (e && e->fileType >= 0 && request.filterIndex)
        *request.filterIndex = e->fileType;
    return e ? e->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::chooseFolder(const QString &caption, const QString &startDirectory)
{
    Call c;
    c.kind = Kind::Folder;
    c.caption = caption;
    c.initialText = startDirectory;
    const auto e = take(c);
    return e ? e->text : std::nullopt;
}

} // namespace qv::test
