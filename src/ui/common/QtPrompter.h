#pragma once

#include "common/Prompter.h"

class QWidget;

namespace qv {

// The prompter of the program: Qt message boxes and dialogs over a parent window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Button message(const QString &text, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &initialText) override;
    std::optional<QString> password(const QString &prompt) override;
    std::optional<QString> openFile(const OpenRequest &request) override;
    std::optional<QString> saveFile(const SaveRequest &request) override;
    std::optional<QString> chooseFolder(const QString &caption, const QString &startDirectory) override;

    // "QV Package (*.qvp)|*.qvp|All (*.*)|*.*" -> "QV Package (*.qvp);;All (*.*)"
    static QString toQtFilter(const QString &filter);

private:
    QWidget *m_parent;
};

} // namespace qv
