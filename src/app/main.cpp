#include "common/Error.h"
#include "data/RecordStore.h"
#include "shell/ProgramDirectory.h"
#include "shell/MainWindow.h"
#include "shell/RunningCopy.h"
#include "tools/AboutBox.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // No display name: the toolkit would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("quorvel"));
    // The desktop finds the program's launcher and icon under this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quorvel.Quorvel"));

    const QString programDir = qv::programDirectory();
    QDir().mkpath(programDir);
    // One running copy per user; a second start brings its window to the front and ends. A book
    // the second start names is not opened there: the running copy may be in the midst of an edit.
    qv::RunningCopy runningCopy(programDir);
    if (!runningCopy.claim()) {
        runningCopy.askToComeForward();
        QMessageBox::information(nullptr, QStringLiteral("Quorvel"), QStringLiteral("No duplicated running."));
        return 0;
    }
    qv::AboutBox splash;
    splash.setOkVisible(false);
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    try {
        qv::installShippedFiles(programDir);
    } catch (const qv::Error &e) {
        QMessageBox::warning(nullptr, QStringLiteral("Quorvel"), e.text());
    }

    // Packages are unpacked into a folder only this user can read, removed at exit.
    QTemporaryDir working(QDir::tempPath() + QStringLiteral("/quorvel-XXXXXX"));
    if (!working.isValid()) {
        QMessageBox::critical(nullptr, QStringLiteral("Quorvel"), QStringLiteral("Unable to create a working directory."));
        return 1;
    }
    qv::RecordStore data;
    qv::MainWindow window(programDir, working.path() + QStringLiteral("/"), data);
    window.setSplash(&splash);
    QObject::connect(&runningCopy, &qv::RunningCopy::comeForwardRequested, &window, &qv::MainWindow::comeForward);
    // A package the desktop hands over ("Open with Quorvel").
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1)
        window.setStartupPackage(arguments.at(1));
    window.show();
    return QApplication::exec();
}
