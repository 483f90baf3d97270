#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

namespace qv {

// One running copy per user and program directory. The copy that holds the
// lock listens on a local socket only its user can reach; a later start asks
// it through that socket to bring its window to the front, then ends.
class RunningCopy : public QObject {
    Q_OBJECT
public:
    explicit RunningCopy(const QString &programDir, QObject *parent = nullptr);

    // Takes the lock (a crashed copy's is taken over) and listens; false
    // when another copy holds it.
    bool claim();
    // From a later start: asks the running copy to come to the front; false
    // when no copy could be reached.
    bool askToComeForward();

    // The socket's path in the user's runtime folder, derived from the user and
    // the program directory.
    static QString socketName(const QString &programDir);

signals:
    void comeForwardRequested();

private:
    QLockFile m_lock;
    QLocalServer m_server;
    QString m_name;
};

} // namespace qv
