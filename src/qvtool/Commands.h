#pragma once

#include <QStringList>
#include <QTextStream>

namespace qv::tool {

struct Output {
    QTextStream &out;
    QTextStream &err;
};

int settingsCommand(const QStringList &arguments, Output io);
int packCommand(const QStringList &arguments, Output io);
int unpackCommand(const QStringList &arguments, Output io);
int infoCommand(const QStringList &arguments, Output io);
int convertCommand(const QStringList &arguments, Output io);
int listCommand(const QStringList &arguments, Output io);
int findCommand(const QStringList &arguments, Output io);
int generateCommand(const QStringList &arguments, Output io);
int treeCommand(const QStringList &arguments, Output io);
int initialsCommand(const QStringList &arguments, Output io);
int printCommand(const QStringList &arguments, Output io);
int exportCsvCommand(const QStringList &arguments, Output io);
int importCsvCommand(const QStringList &arguments, Output io);
int importWabCommand(const QStringList &arguments, Output io);
int exportVCardCommand(const QStringList &arguments, Output io);
int importVCardCommand(const QStringList &arguments, Output io);

} // namespace qv::tool
