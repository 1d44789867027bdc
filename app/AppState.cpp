#include "app/AppState.h"

#include "platform/Database.h"
#include "platform/Paths.h"
#include "platform/Waiter.h"

AppState::AppState(Services s)
    : services(s)
    , DbConnection(QString::fromLatin1(Database::ConnectionName))
{
    FillClassLevelNames(classes);
}

QSqlDatabase AppState::db() const
{
    return QSqlDatabase::database(DbConnection, false);
}

QString AppState::path(const QString &relative) const
{
    return Paths::resolve(AppPath, relative);
}

QString AppState::databaseFile() const
{
    return path(QString::fromLatin1(Database::FileName));
}

QString AppState::backupFile() const
{
    return path(QString::fromLatin1(Database::BackupFileName));
}

void AppState::WaitSeconds(int seconds) const
{
    services.waiter.waitSeconds(seconds);
}
