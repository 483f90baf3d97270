#include "common/Error.h"
#include "shell/ProgramDirectory.h"
#include "shell/TMainQVMolk.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvel"));

    const QString programDir = qv::programDirectory();
    try {
        qv::installShippedFiles(programDir);
    } catch (const qv::Error &e) {
        QMessageBox::warning(nullptr, QStringLiteral("Quorvel"), e.text());
    }

    qv::TMainQVMolk window(programDir);
    window.show();
    return QApplication::exec();
}
