#pragma once

#include <QString>

namespace qv {

// What the package lifecycle asks of the window it runs in: cursor,
// progress, title, menus, the no-book state. The program's main window
// implements it; tests and qvtool record or ignore the calls.
class LifecycleShell {
public:
    virtual ~LifecycleShell() = default;
    virtual void setBusy(bool busy) = 0; // the hourglass cursor
    virtual void showProgress(const QString &caption, int maximum) = 0;
    virtual void setProgress(int value) = 0;
    virtual void closeProgress() = 0;
    virtual void bookOpened() = 0;         // leave the no-book state, show the tree's top node
    virtual void focusCategoryTree() = 0;  // after an open or a save
    virtual void enterNoBookState() = 0;
    virtual void refreshTitle() = 0;
    virtual void bookListChanged() = 0;    // rebuild the Open and Delete menus
    virtual void repaintLock() = 0;
    virtual void closeMainWindow() = 0;
};

// A shell that does nothing: for the command-line tool.
class SilentShell : public LifecycleShell {
public:
    void setBusy(bool) override {}
    void showProgress(const QString &, int) override {}
    void setProgress(int) override {}
    void closeProgress() override {}
    void bookOpened() override {}
    void focusCategoryTree() override {}
    void enterNoBookState() override {}
    void refreshTitle() override {}
    void bookListChanged() override {}
    void repaintLock() override {}
    void closeMainWindow() override {}
};

} // namespace qv
