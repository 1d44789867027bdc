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

// Removes the temporary files of replacements a crash cut short (in Progs
// and Backup); only the program holding the folder may do so.
void removeLeftovers(const QString &appPath);

// Full paths of the background music: every *.mid, then every *.rmi of
// Sounds/Midi, letter case aside, each group in name order.
QStringList musicFiles(const QString &appPath);

// The six voice-prompt paths.
void setSoundPaths(AppState &state);

struct DatabaseVerdict
{
    enum Kind {
        Present,         // there and sound (a journal of a dead writer rolled back)
        Restored,        // was missing or empty; the backup was copied in
        RestoredDamaged, // was damaged; kept aside with its journal, the backup copied in
        Missing,         // missing or empty, with no usable backup
        Unusable,        // damaged, with no usable backup; left where it is
        NoAccess         // there, but this user may not read or write it or its folder
    };
    Kind kind = Present;
    QString keptAs; // RestoredDamaged: where the damaged file now is
};

// Makes sure the database file is there and sound, restoring it from the
// backup copy. Waits two seconds after a restore of a missing or empty file.
DatabaseVerdict ensureDatabase(AppState &state, const QDateTime &now);

// The message for a verdict that the operator must hear of; "" for none.
QString databaseMessage(const DatabaseVerdict &verdict, const QString &databaseFile);

} // namespace StartupSteps
