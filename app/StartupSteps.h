#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class AppState;

// The start-up steps that touch files, kept apart from the windows.
namespace StartupSteps {

// The folders the program works in, each created as one level in this order;
// one whose parent is missing is skipped.
const QStringList &workingFolders();
void createWorkingFolders(const QString &appPath);

// Full paths of the background music: every *.mid, then every *.rmi of
// Sounds/Midi, letter case aside, each group in name order.
QStringList musicFiles(const QString &appPath);

// The six voice-prompt paths.
void setSoundPaths(AppState &state);

struct DatabaseVerdict
{
    enum Kind {
        Present,         // there and readable
        Restored,        // was missing or empty; the backup was copied in
        RestoredDamaged, // was unreadable; kept aside and the backup copied in
        Missing          // missing or empty, or unreadable, with no usable backup
    };
    Kind kind = Present;
    QString keptAs; // RestoredDamaged: where the damaged file now is
};

// Makes sure the database file is there, restoring it from the backup copy.
// Waits two seconds after a restore of a missing or empty file.
DatabaseVerdict ensureDatabase(AppState &state, const QDateTime &now);

// The three lines shown when no database can be had.
QString missingDatabaseMessage(const QString &databaseFile);
QString damagedDatabaseMessage(const QString &databaseFile, const QString &keptAs);

} // namespace StartupSteps
