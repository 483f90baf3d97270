#pragma once

#include "common/Prompter.h"

#include <QTextStream>

namespace qv::tool {

// The prompter of the command-line tool: messages go to the error stream as
// the program would show them; a password comes from $QV_PASSWORD or the
// terminal; questions take their safe answer (No, Cancel), files are never chosen.
class TerminalPrompter : public Prompter {
public:
    explicit TerminalPrompter(QTextStream &err) : m_err(err) {}

    Button message(const QString &text, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> password(const QString &prompt) override;
    std::optional<QString> openFile(const OpenRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const SaveRequest &) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }

private:
    QTextStream &m_err;
    bool m_environmentAnswered = false;
};

} // namespace qv::tool
