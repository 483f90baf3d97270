// Opens and saves a generated 100,000-entry package through the program's
// own lifecycle and prints the times beside Info-ZIP's: `unzip -p` (inflate
// the members, nothing more) for the open and `zip -q` of the same members
// for the save. Goal: open within 3 times unzip, save within 3 times zip.
#include "BenchTiming.h"

#include "common/MemberLines.h"
#include "common/Prompter.h"
#include "data/BookGenerator.h"
#include "data/RecordStore.h"
#include "data/LifecycleShell.h"
#include "data/PackageLifecycle.h"
#include "data/TableFile.h"
#include "data/archive/PackageReader.h"
#include "data/archive/PackageWriter.h"
#include "settings/Settings.h"
#include "settings/StoredBookSettings.h"
#include "shell/BookModelSet.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

using namespace qv;

namespace {

// Nothing is asked while benchmarking.
class QuietPrompter : public Prompter {
public:
    Button message(const QString &text, Icon, Buttons) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Button::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> password(const QString &) override { return std::nullopt; }
    std::optional<QString> openFile(const OpenRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const SaveRequest &) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
};

bool run(const QString &program, const QStringList &args, const QString &dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString data = tmp.path() + "/Data/";
    const QString work = tmp.path() + "/work/";
    QDir().mkpath(data);
    const GeneratedBook book = generateBook(100000, 10000, 1);
    const QDateTime stamp(QDate(2026, 1, 1), QTime(0, 0));
    const QByteArray package = archive::buildArchive(
        {{"Agents.dbf", writeTableBytes(*book.organisations), stamp},
         {"Names.dbf", writeTableBytes(*book.persons), stamp},
         {"surname.dff", memberText({"\u6b27\u9633"}), stamp},
         {"tree.dff", memberText({"All Entries", "Search Results"}), stamp},
         {"treeno.dff", memberText({"1000", "101"}), stamp}},
        QString());
    QFile out(data + "Big.qvp");
    out.open(QIODevice::WriteOnly);
    out.write(package);
    out.close();
    std::printf("package: %.1f MB\n", package.size() / 1e6);

    RecordStore cards;
    cards.personList.setLogChanges(true);
    cards.organisationList.setLogChanges(true);
    Settings options(tmp.path() + "/aa.ini");
    options.defaultBookName = "Big";
    QuietPrompter prompter;
    SilentShell shell;
    StoredBookSettings settings(options);
    BookModelSet models;
    PackageLifecycle lifecycle(cards, models, settings, prompter, shell, {tmp.path() + "/", data, work});

    const int runs = 5;
    const double open = bench::medianMs(runs, [&] { lifecycle.openPackage(data + "Big.qvp"); });
    const double save = bench::medianMs(runs, [&] { lifecycle.save(); });

    const QString unzip = QStandardPaths::findExecutable("unzip");
    const QString zip = QStandardPaths::findExecutable("zip");
    if (unzip.isEmpty() || zip.isEmpty()) {
        std::printf("open %.1f ms, save %.1f ms (zip and unzip missing: no comparison)\n", open, save);
        return 0;
    }
    const double inflate = bench::medianMs(runs, [&] { run(unzip, {"-p", data + "Big.qvp"}, tmp.path()); });
    const QString members = tmp.path() + "/members";
    archive::KnownPasswords known;
    archive::unpackFile(data + "Big.qvp", members, known, {});
    const double zipTime = bench::medianMs(runs, [&] {
        QFile::remove(tmp.path() + "/z.zip");
        run(zip, QStringList{"-q", tmp.path() + "/z.zip"} + QDir(members).entryList(QDir::Files), members);
    });
    std::printf("open  100,000 entries: %8.1f ms   unzip -p %8.1f ms   ratio %.2f (goal at most 3)\n", open, inflate, open / inflate);
    std::printf("save  100,000 entries: %8.1f ms   zip -q   %8.1f ms   ratio %.2f (goal at most 3)\n", save, zipTime, save / zipTime);
    return 0;
}
