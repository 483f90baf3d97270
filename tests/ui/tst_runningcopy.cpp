// One running copy per user and program directory; a second start brings the first forward.
#include "shell/RunningCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qv;

class TestRunningCopy : public QObject {
    Q_OBJECT
private slots:
    void secondStartAsksTheFirstForward();
    void anotherProgramDirectoryIsAnotherCopy();
    void leftoverSocketOfACrashedCopy();
    void onlyItsUserCanReachIt();
    void nothingToAskWithoutARunningCopy();
    void socketInTheUsersRuntimeFolder();
};

void TestRunningCopy::secondStartAsksTheFirstForward()
{
    QTemporaryDir home;
    RunningCopy first(home.path() + "/");
    QVERIFY(first.claim());
    QSignalSpy forward(&first, &RunningCopy::comeForwardRequested);
    RunningCopy second(home.path() + "/");
    QVERIFY(!second.claim());
    QVERIFY(second.askToComeForward());
    QTRY_COMPARE(forward.count(), 1);
}

void TestRunningCopy::anotherProgramDirectoryIsAnotherCopy()
{
    QTemporaryDir one, other;
    RunningCopy first(one.path() + "/");
    QVERIFY(first.claim());
    QSignalSpy forward(&first, &RunningCopy::comeForwardRequested);
    RunningCopy second(other.path() + "/");
    QVERIFY(second.claim());
    QVERIFY(RunningCopy::socketName(one.path() + "/") != RunningCopy::socketName(other.path() + "/"));
    // Asked through its own socket, the second copy hears itself, never the first.
    QSignalSpy heard(&second, &RunningCopy::comeForwardRequested);
    RunningCopy third(other.path() + "/");
    QVERIFY(third.askToComeForward());
    QTRY_COMPARE(heard.count(), 1);
    QCOMPARE(forward.count(), 0);
}

// A copy that crashed left its socket behind: the next copy takes the place over.
void TestRunningCopy::leftoverSocketOfACrashedCopy()
{
    QTemporaryDir home;
    QFile leftover(RunningCopy::socketName(home.path() + "/"));
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    const auto removeLeftover = qScopeGuard([&] { leftover.remove(); }); // should the copy fail to take it over
    RunningCopy copy(home.path() + "/");
    QVERIFY(copy.claim());
    QSignalSpy forward(&copy, &RunningCopy::comeForwardRequested);
    RunningCopy second(home.path() + "/");
    QVERIFY(second.askToComeForward());
    QTRY_COMPARE(forward.count(), 1);
}

// Even where new files are open to all, no other user can connect to the socket.
void TestRunningCopy::onlyItsUserCanReachIt()
{
    QTemporaryDir home;
    RunningCopy copy(home.path() + "/");
    const mode_t before = ::umask(0);
    const bool claimed = copy.claim();
    ::umask(before);
    QVERIFY(claimed);
    const QFileInfo socket(RunningCopy::socketName(home.path() + "/"));
    QVERIFY(socket.exists());
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(socket.permissions() & others, QFile::Permissions());
}

void TestRunningCopy::nothingToAskWithoutARunningCopy()
{
    QTemporaryDir home;
    RunningCopy alone(home.path() + "/");
    QVERIFY(!alone.askToComeForward());
}

// Not in the shared temporary folder, where another user could take the name first.
void TestRunningCopy::socketInTheUsersRuntimeFolder()
{
    QTemporaryDir runtime;
    QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const auto restore = qScopeGuard([&] {
        if (before.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", before);
    });
    QTemporaryDir home;
    RunningCopy copy(home.path() + "/");
    QVERIFY(copy.claim());
    QCOMPARE(QDir(runtime.path()).entryList(QDir::System | QDir::NoDotAndDotDot).size(), 1);
    QSignalSpy forward(&copy, &RunningCopy::comeForwardRequested);
    QVERIFY(RunningCopy(home.path() + "/").askToComeForward());
    QTRY_COMPARE(forward.count(), 1);
}

QTEST_GUILESS_MAIN(TestRunningCopy)
#include "tst_runningcopy.moc"
