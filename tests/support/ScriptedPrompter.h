#pragma once

#include "common/Prompter.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace qv::test {

// A prompter that answers from a queue of expected prompts. Every prompt is
// recorded; a prompt that is not the next expected one (kind, text, icon,
// buttons) is a failure, and so is an expected prompt left unanswered when
// the prompter is verified or destroyed. By default a failure fails the
// running Qt test at once.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Input, Password, OpenFile, SaveFile, Folder };

    struct Call {
        Kind kind = Kind::Message;
        QString text; // message text, input or password prompt, dialog caption
        Icon icon = Icon::Plain;
        Buttons buttons;
        QString caption;     // input box caption
        QString initialText; // input box initial text
        OpenRequest open;
        SaveRequest save;
        QString describe() const;
    };

    using FailureHandler = std::function<void(const QString &)>;

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

    void expectMessage(const QString &text, Icon icon, Buttons buttons, Button answer);
    void expectInput(const QString &caption, const QString &prompt, std::optional<QString> answer);
    void expectPassword(const QString &prompt, std::optional<QString> answer);
    void expectOpenFile(std::optional<QString> answer);
    // fileType: the position of the file type the user picks; -1 keeps the one proposed.
    void expectSaveFile(std::optional<QString> answer, int fileType = -1);
    void expectFolder(std::optional<QString> answer);

    const QList<Call> &calls() const { return m_calls; }
    QStringList messages() const; // texts of the message boxes shown, in order
    // Reports every expected prompt that was not shown; true when none is left.
    bool verifyAllAnswered();

    Button message(const QString &text, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &initialText) override;
    std::optional<QString> password(const QString &prompt) override;
    std::optional<QString> openFile(const OpenRequest &request) override;
    std::optional<QString> saveFile(const SaveRequest &request) override;
    std::optional<QString> chooseFolder(const QString &caption, const QString &startDirectory) override;

private:
    struct Expected {
        Call call;
        Button button = Button::None;
        std::optional<QString> text;
        int fileType = -1;
    };

    // Takes the next expectation if it matches the call; reports a failure
    // and returns nothing otherwise.
    std::optional<Expected> take(const Call &call);
    void fail(const QString &why);

    QList<Expected> m_queue;
    QList<Call> m_calls;
    FailureHandler m_onFailure;
};

} // namespace qv::test
