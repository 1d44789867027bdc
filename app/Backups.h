#pragma once

#include <QDateTime>
#include <QString>

class AppState;

// The copies of the database written at exit: Backup/KolvaneBackup.db, which
// start-up restores from, and a history of dated copies beside it.
namespace Backups {

inline constexpr int HistoryLength = 10;

// Backup/KolvaneBackup-YYYYMMDD-HHMMSS.db for the moment `when`.
QString datedFile(const AppState &state, const QDateTime &when);

// Copies the closed database to a dated copy and over the backup copy, then
// drops all but the ten newest dated copies. A damaged database replaces
// nothing. On failure `error` says why.
bool write(const AppState &state, QString *error);

} // namespace Backups
