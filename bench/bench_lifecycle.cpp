// Opens and saves a generated 100,000-entry package through the program's
// own lifecycle and prints the times beside Info-ZIP's: `unzip -p` (inflate
// the members, nothing more) for the open and `zip -q` of the same members
// for the save. Goals: open within 1.0 times unzip, save within 0.5 times zip.
// Then the peak resident memory (VmHWM) of `qvtool info` and of the GUI
// program, each run as a child process holding the same book.
#include "QuietPrompter.h"
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
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

using namespace qv;

namespace {

bool run(const QString &program, const QStringList &args, const QString &dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

// The child's high-water mark of resident memory so far, in kB; 0 once it is gone.
long highWaterKb(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Runs the program as a child and returns its peak resident memory in MB,
// read from /proc every few milliseconds while it runs: the kernel's own
// figure for a reaped child would include this process's memory, which the
// child shared until its exec. A child that keeps running (the GUI) is
// stopped once its peak has stood still for two seconds.
double peakResidentMb(const QString &program, const QStringList &args)
{
    QList<QByteArray> words{program.toLocal8Bit()};
    for (const QString &a : args)
        words << a.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return 0;
    long peak = 0;
    QElapsedTimer sinceGrowth;
    sinceGrowth.start();
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        const long now = highWaterKb(pid);
        if (now > peak) {
            peak = now;
            sinceGrowth.restart();
        }
        if (sinceGrowth.elapsed() > 2000) {
            kill(pid, SIGTERM);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return peak / 1024.0;
}

// The GUI program with a program directory of its own whose default book is the package.
double guiPeakMb(const QString &root, const QString &package)
{
    QDir().mkpath(root + "/Data");
    QFile::copy(package, root + "/Data/Big.qvp");
    QFile ini(root + "/aa.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write("[DefaultAddressBook]\nUserName0=Big\n");
    ini.close();
    qputenv("QUORVEL_HOME", root.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return peakResidentMb(QStringLiteral(QUORVEL_PATH), {});
}

void printLine(const char *what, double ours, const char *anchorName, double anchor, double goal, const char *unit)
{
    std::printf("%-28s ours %8.1f %s   %-9s %8.1f %s   ratio %.2f   goal at most %.2f\n", what, ours, unit, anchorName,
                anchor, unit, ours / anchor, goal);
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
    const QList<archive::PackMember> packMembers = {
        {"Agents.dbf", writeTableBytes(*book.organisations), stamp},
        {"Names.dbf", writeTableBytes(*book.persons), stamp},
        {"surname.dff", memberText({"\u6b27\u9633"}), stamp},
        {"tree.dff", memberText({"All Entries", "Search Results"}), stamp},
        {"treeno.dff", memberText({"1000", "101"}), stamp}};
    double memberMb = 0;
    for (const archive::PackMember &m : packMembers)
        memberMb += m.data.size() / (1024.0 * 1024.0);
    const QByteArray package = archive::buildArchive(packMembers, QString());
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
    bench::QuietPrompter prompter;
    SilentShell shell;
    StoredBookSettings settings(options);
    BookModelSet models;
    PackageLifecycle lifecycle(cards, models, settings, prompter, shell, {tmp.path() + "/", data, work});

    const int runs = 5;
    const double open = bench::medianMs(runs, [&] { lifecycle.openPackage(data + "Big.qvp"); });
    const double save = bench::medianMs(runs, [&] { lifecycle.save(); });

    const double qvtoolMb = peakResidentMb(QStringLiteral(QVTOOL_PATH), {"info", data + "Big.qvp"});
    const double guiMb = guiPeakMb(tmp.path() + "/gui", data + "Big.qvp");

    const QString unzip = QStandardPaths::findExecutable("unzip");
    const QString zip = QStandardPaths::findExecutable("zip");
    if (unzip.isEmpty() || zip.isEmpty()) {
        std::printf("open %.1f ms, save %.1f ms (zip and unzip missing: no comparison)\n", open, save);
    } else {
        const double inflate = bench::medianMs(runs, [&] { run(unzip, {"-p", data + "Big.qvp"}, tmp.path()); });
        const QString members = tmp.path() + "/members";
        archive::KnownPasswords known;
        archive::unpackFile(data + "Big.qvp", members, known, {});
        const double zipTime = bench::medianMs(runs, [&] {
            QFile::remove(tmp.path() + "/z.zip");
            run(zip, QStringList{"-q", tmp.path() + "/z.zip"} + QDir(members).entryList(QDir::Files), members);
        });
        printLine("open  100,000 entries:", open, "unzip -p", inflate, 1.0, "ms");
        printLine("save  100,000 entries:", save, "zip -q", zipTime, 0.5, "ms");
    }
    // The anchor of the memory figures is the size of the book's unpacked members.
    std::printf("%-28s ours %8.1f MB   members  %8.1f MB   ratio %.2f   goal at most 80 MB\n", "memory qvtool info:", qvtoolMb,
                memberMb, qvtoolMb / memberMb);
    std::printf("%-28s ours %8.1f MB   members  %8.1f MB   ratio %.2f   goal at most 100 MB\n", "memory GUI with the book:",
                guiMb, memberMb, guiMb / memberMb);
    std::printf("cores: %u; figures are medians of %d runs\n", std::thread::hardware_concurrency(), runs);
    return 0;
}
