#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlError;

// The one place where the program's database connection is set up, and where
// the database file is checked, recovered, copied and moved.
namespace Database {

// Relative to the program folder.
inline constexpr const char *FileName = "Progs/Kolvane.db";
inline constexpr const char *BackupFileName = "Backup/KolvaneBackup.db";
// The name under which the shared connection is registered with Qt SQL.
inline constexpr const char *ConnectionName = "Kolvane";

// Opens (or re-opens) the shared connection on `file`. Returns the connection;
// it may be invalid or closed when the file cannot be opened, as the forms
// then find out when they first use it.
QSqlDatabase open(const QString &file, const QString &connectionName = ConnectionName);
void close(const QString &connectionName = ConnectionName);

// Every check opens the file read-write: only such a connection rolls back a
// journal left by a writer that died, and without that a sound database
// looks damaged.
enum class Health {
    Sound,
    Damaged,    // not a database, or the engine's check finds faults
    Unavailable // busy or unreadable just now; says nothing about the file
};
Health check(const QString &file, QString *problem = nullptr, bool everyIndex = false);
// Whether `file` is present, not empty, and readable as a database of ours
// (a cheap check: header and catalogue, not every page).
bool isReadableDatabase(const QString &file);
// Whether `file` passes the engine's quick consistency check.
bool passesQuickCheck(const QString &file, QString *problem = nullptr);

// The check of start-up. A journal left beside the file is first tried on a
// copy, so a set that turns out damaged is kept exactly as it was found.
Health recover(const QString &file, QString *problem = nullptr);

// The -journal, -wal and -shm files beside `file` that exist.
QStringList companions(const QString &file);
// Moves `file` and its companions to `to` (and `to` + their suffixes).
bool moveAside(const QString &file, const QString &to);

// Length of a file, 0 when it is missing.
qint64 fileLength(const QString &file);

// A consistent copy of `from` made by the engine itself, checked in a
// temporary file and then renamed over `to`; owner-only. Nothing of an older
// `to` (its journal included) is left beside the copy.
bool copyDatabase(const QString &from, const QString &to, QString *error = nullptr);

// The engine's words for a failed statement, with the causes an office meets
// (a full disk, a file it may not write) said plainly.
QString errorText(const QSqlError &error);

} // namespace Database
