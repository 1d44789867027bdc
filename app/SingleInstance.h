#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One program per program folder: a lock file in Progs/ that the running
// program holds, and a local socket through which a second start asks it to
// come to the front.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &progsFolder, QObject *parent = nullptr);

    // True when this process now holds the folder (a lock left by a program
    // that died is taken over); false when a running program holds it.
    bool acquire();
    // Asks the program holding the folder to show its window.
    void wakeHolder() const;

signals:
    void wakeRequested();

private:
    QString m_progs;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer m_server;
};
