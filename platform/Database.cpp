#include "platform/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <unistd.h>
#include <sys/stat.h>

namespace Database {

QSqlDatabase open(const QString &file, const QString &connectionName)
{
    if (QSqlDatabase::contains(connectionName))
        close(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(file);
    // Wait a little for a lock rather than failing at once; never create a file.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000;QSQLITE_OPEN_URI=0"));
    if (!QFileInfo::exists(file))
        return db; // not opened: Qt would create an empty database here
    if (db.open()) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA synchronous = FULL"));
        q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    }
    return db;
}

void close(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

qint64 fileLength(const QString &file)
{
    QFileInfo info(file);
    return info.exists() ? info.size() : 0;
}

namespace {

template <typename F>
bool withPrivateConnection(const QString &file, F &&body)
{
    const QString name = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::Id128);
    bool result = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open())
            result = body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

bool isReadableDatabase(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    if (f.read(16) != QByteArray("SQLite format 3\0", 16))
        return false;
    f.close();
    return withPrivateConnection(file, [](QSqlDatabase &db) {
        QSqlQuery q(db);
        return q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next();
    });
}

bool passesQuickCheck(const QString &file, QString *problem)
{
    if (!isReadableDatabase(file)) {
        if (problem)
            *problem = QStringLiteral("not a readable database");
        return false;
    }
    return withPrivateConnection(file, [problem](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
            if (problem)
                *problem = q.lastError().text();
            return false;
        }
        const QString verdict = q.value(0).toString();
        if (verdict != QStringLiteral("ok")) {
            if (problem)
                *problem = verdict;
            return false;
        }
        return true;
    });
}

bool copyAtomically(const QString &from, const QString &to, QString *error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = in.errorString();
        return false;
    }
    QSaveFile out(to);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorString();
        return false;
    }
    ::fchmod(out.handle(), S_IRUSR | S_IWUSR);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            break;
        if (out.write(chunk) != chunk.size()) {
            if (error)
                *error = out.errorString();
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        if (error)
            *error = in.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        if (error)
            *error = out.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace Database
