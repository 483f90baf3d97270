#include "QvTool.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

int main(int argc, char *argv[])
{
    // Printing lays text out with the system's fonts, which only a GUI
    // application has; it never shows a window, so it needs no display.
    const bool printing = argc > 1 && qstrcmp(argv[1], "print") == 0;
    if (printing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        printing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel"));
    return qv::tool::run(QCoreApplication::arguments().mid(1));
}
