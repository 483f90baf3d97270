#include "QvTool.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel"));
    return qv::tool::run(QCoreApplication::arguments().mid(1));
}
