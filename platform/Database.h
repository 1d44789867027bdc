#pragma once

#include <QSqlDatabase>
#include <QString>

// The one place where the program's database connection is set up.
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

// Whether `file` is present, not empty, and readable as a database of ours
// (a cheap check: header and catalogue, not every page).
bool isReadableDatabase(const QString &file);
// Whether `file` passes the engine's own consistency check (every page).
bool passesQuickCheck(const QString &file, QString *problem = nullptr);

// Length of a file, 0 when it is missing.
qint64 fileLength(const QString &file);

// Copies `from` over `to` through a temporary file beside `to`, flushed and
// renamed into place, so `to` is never half written. The copy is readable and
// writable by its owner only.
bool copyAtomically(const QString &from, const QString &to, QString *error = nullptr);

} // namespace Database
