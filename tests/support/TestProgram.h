#pragma once

#include "Fakes.h"
#include "app/AppState.h"

#include <QTemporaryDir>
#include <memory>

// A complete temporary program folder with its own database made from the
// schema, fake seams, and an AppState over them. Tests never touch a real
// program folder.
class TestProgram
{
public:
    enum Layout { Full, Bare };

    // Full: every working folder and a fresh database. Bare: an empty folder.
    explicit TestProgram(Layout layout = Full);
    ~TestProgram();

    QString appPath() const; // ends in "/"
    QString file(const QString &relative) const { return appPath() + relative; }

    // Writes `key=value` lines into Progs/Kolvane.ini through the store.
    void writeIni(const QList<std::pair<QString, QString>> &pairs);
    // A typical small school: a few levels with arms and a term.
    void writeTypicalIni();

    void copyEmptyDatabaseTo(const QString &relative);
    void writeFile(const QString &relative, const QByteArray &bytes);

    // Sets AppPath, IniPath, loads the class structure and opens the database,
    // as start-up would, without any window.
    void prepareState();

    ScriptedMessageBoxes messages;
    RecordingWaiter waiter;
    RecordingSoundPlayer sound;
    FixedClock clock;
    FakeDesktop desktop;
    QStringList journal;
    std::unique_ptr<AppState> state;

private:
    QTemporaryDir m_dir;
};

QString emptyDatabaseFile();

// The first column of every row `sql` gives on the database file `dbFile`,
// read through a connection of its own.
QStringList column(const QString &dbFile, const QString &sql);
