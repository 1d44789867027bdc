#pragma once

#include "classes/ClassStructure.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class MessageBoxes;
class Waiter;
class SoundPlayer;
class Clock;
class Desktop;

// The seams every form reaches the outside world through.
struct Services
{
    MessageBoxes &messages;
    Waiter &waiter;
    SoundPlayer &sound;
    Clock &clock;
    Desktop &desktop;
};

// The application's state: one object made by main (or by a test) and passed
// by reference to every form.
class AppState
{
public:
    explicit AppState(Services services);

    Services services;

    QString AppPath; // ends in "/"
    QString IniPath;
    QString SchoolName;
    // Argon2id hash of the lower-cased operator password; empty: no password.
    QString PasswordHash;

    QString RecordKind = QStringLiteral("Student");
    bool LoginGranted = false;
    bool VoiceOn = true;
    bool MusicOn = false;
    bool FirstPiecePending = false;

    QStringList MusicFiles;
    int MusicCount() const { return static_cast<int>(MusicFiles.size()); }
    // The next-piece routine's own memory.
    bool RandomStartDone = false;
    int NextPiece = 0;

    QString IntroWav, IdentifyWav, ProceedWav, DeniedWav, TryAgainWav, SirenWav;

    ClassStructure classes;

    // Name of the shared database connection.
    QString DbConnection;
    QSqlDatabase db() const;

    // A file or folder of the program, found without regard to letter case.
    QString path(const QString &relative) const;
    QString databaseFile() const;
    QString backupFile() const;

    void WaitSeconds(int seconds) const;

    // Record kinds are told apart by the ends of their names.
    static bool isStudentKind(const QString &kind) { return kind.endsWith(QStringLiteral("Student")); }
    static bool isStaffKind(const QString &kind) { return kind.endsWith(QStringLiteral("Staff")); }
    static bool isStockKind(const QString &kind) { return kind.endsWith(QStringLiteral("Stock")); }
    static bool isFormerKind(const QString &kind) { return kind.startsWith(QStringLiteral("Former")); }
};
