// Opens a package and saves it again and again with a changing entry, until
// killed: save_loop PACKAGE WORKDIR. The interrupted-save test kills it at
// random moments and then opens what is left.
#include "data/RecordStore.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "settings/Settings.h"
#include "settings/StoredBookSettings.h"
#include "shell/BookModelSet.h"

#include "ScriptedPrompter.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString package = QString::fromLocal8Bit(argv[1]);
    const QString work = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    qv::RecordStore data;
    qv::Settings options(work + QStringLiteral("aa.ini"));
    qv::test::ScriptedPrompter prompter;
    prompter.setFailureHandler([](const QString &why) { std::fprintf(stderr, "%s\n", qPrintable(why)); });
    qv::SilentShell shell;
    qv::StoredBookSettings settings(options);
    qv::BookModelSet models;
    qv::PackageLifecycle lifecycle(data, models, settings, prompter, shell,
                                   {work, QFileInfo(package).absolutePath() + "/", work});
    if (!lifecycle.openPackage(package))
        return 1;
    options.defaultBookName = QFileInfo(package).completeBaseName();
    data.personList.setLogChanges(true);
    for (int i = 0;; ++i) {
        data.personList.first();
        data.personList.edit();
        data.personList.setValue(QStringLiteral("Position"), QStringLiteral("v%1").arg(i));
        data.personList.post();
        lifecycle.save();
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
}
