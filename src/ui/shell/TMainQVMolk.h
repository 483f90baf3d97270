#pragma once

#include "common/QtPrompter.h"
#include "settings/OptionType.h"

#include <QMainWindow>

#include <memory>

namespace qv {

// The main window. It owns the settings store, reads it when it is created
// and writes it back when it closes.
class TMainQVMolk : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainQVMolk(const QString &programDir, QWidget *parent = nullptr);
    ~TMainQVMolk() override;

    const QString &programDirectory() const { return m_programDir; }
    const QString &dataDirectory() const { return m_dataDir; }
    OptionType &options() { return *m_options; }
    Prompter &prompter() { return m_prompter; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void createMenus();
    void FormShow();
    // Returns false when the close must not complete.
    bool FormCloseQuery();
    void storeWindowSizes();

    QString m_programDir;
    QString m_dataDir;
    std::unique_ptr<OptionType> m_options;
    QtPrompter m_prompter;
    bool m_shown = false;
};

} // namespace qv
