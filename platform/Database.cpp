#include "platform/Database.h"

#include "platform/DurableFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

namespace Database {

namespace {

constexpr const char *CompanionSuffixes[] = {"-journal", "-wal", "-shm"};

// The engine's primary result codes the program tells apart.
enum {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteNotADb = 26,
    SqlitePerm = 3,
    SqliteReadOnly = 8
};

int primaryCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xff;
}

template <typename F> bool withPrivateConnection(const QString &file, F &&body)
{
    const QString name = QStringLiteral("check-") + QUuid::createUuid().toString(QUuid::Id128);
    bool result = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        result = body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool hasHeader(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool fsyncFile(const QString &file)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

void removeWithCompanions(const QString &file)
{
    QFile::remove(file);
    for (const char *suffix : CompanionSuffixes)
        QFile::remove(file + QLatin1String(suffix));
}

} // namespace

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

Health check(const QString &file, QString *problem, bool everyIndex)
{
    Health health = Health::Damaged;
    const auto say = [problem](const QString &text) {
        if (problem)
            *problem = text;
    };
    if (!QFileInfo(file).isFile() || fileLength(file) == 0) {
        say(QStringLiteral("missing or empty"));
        return Health::Damaged;
    }
    if (!hasHeader(file)) {
        say(QFileInfo(file).isReadable() ? QStringLiteral("not a database")
                                         : QStringLiteral("cannot be read"));
        return QFileInfo(file).isReadable() ? Health::Damaged : Health::Unavailable;
    }
    withPrivateConnection(file, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!db.open() || !q.exec(everyIndex ? QStringLiteral("PRAGMA integrity_check")
                                             : QStringLiteral("PRAGMA quick_check"))) {
            const QSqlError error = db.isOpen() ? q.lastError() : db.lastError();
            const int code = primaryCode(error);
            health = code == SqliteCorrupt || code == SqliteNotADb ? Health::Damaged
                                                                   : Health::Unavailable;
            say(error.databaseText());
            return false;
        }
        QStringList faults;
        while (q.next())
            faults.append(q.value(0).toString());
        if (faults == QStringList{QStringLiteral("ok")})
            health = Health::Sound;
        else
            say(faults.join(u'\n'));
        return true;
    });
    return health;
}

bool isReadableDatabase(const QString &file)
{
    if (!hasHeader(file))
        return false;
    return withPrivateConnection(file, [](QSqlDatabase &db) {
        QSqlQuery q(db);
        return db.open() && q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
               q.next();
    });
}

bool passesQuickCheck(const QString &file, QString *problem)
{
    return check(file, problem) == Health::Sound;
}

QStringList companions(const QString &file)
{
    QStringList found;
    for (const char *suffix : CompanionSuffixes)
        if (QFileInfo::exists(file + QLatin1String(suffix)))
            found.append(QLatin1String(suffix));
    return found;
}

Health recover(const QString &file, QString *problem)
{
    const QStringList beside = companions(file);
    if (!beside.isEmpty() && hasHeader(file)) {
        const QString trial = file + QStringLiteral(".recovering");
        removeWithCompanions(trial);
        bool copied = QFile::copy(file, trial);
        for (const QString &suffix : beside)
            copied = copied && QFile::copy(file + suffix, trial + suffix);
        if (copied) {
            const Health health = check(trial, problem);
            removeWithCompanions(trial);
            if (health != Health::Sound)
                return health;
        } else {
            // No room for the trial: the engine's own recovery in place.
            removeWithCompanions(trial);
        }
    }
    return check(file, problem);
}

bool moveAside(const QString &file, const QString &to)
{
    bool ok = !QFileInfo::exists(file) || DurableFiles::rename(file, to);
    for (const char *suffix : CompanionSuffixes) {
        const QString companion = file + QLatin1String(suffix);
        if (QFileInfo::exists(companion))
            ok = DurableFiles::rename(companion, to + QLatin1String(suffix)) && ok;
    }
    return ok;
}

bool copyDatabase(const QString &from, const QString &to, QString *error)
{
    const auto say = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!hasHeader(from))
        return say(from + QStringLiteral(" is not a database."));
    int code = 0;
    const QString temp = DurableFiles::makeTemporaryBeside(to, &code);
    if (temp.isEmpty())
        return say(DurableFiles::errorText(code));
    QString problem;
    // The engine writes a consistent snapshot into the empty owner-only file.
    const bool copied = withPrivateConnection(from, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        const bool ok = db.open() && q.prepare(QStringLiteral("VACUUM INTO ?")) &&
                        (q.addBindValue(temp), q.exec());
        if (!ok)
            problem = errorText(db.isOpen() ? q.lastError() : db.lastError());
        return ok;
    });
    if (copied && check(temp, &problem, true) != Health::Sound)
        problem = QStringLiteral("The copy failed its check: ") + problem;
    else if (copied && !fsyncFile(temp))
        problem = DurableFiles::errorText(errno);
    if (!copied || !problem.isEmpty()) {
        removeWithCompanions(temp);
        return say(problem);
    }
    // A journal of the file being replaced would be played onto the copy.
    for (const char *suffix : CompanionSuffixes)
        QFile::remove(to + QLatin1String(suffix));
    if (!DurableFiles::rename(temp, to, &code)) {
        QFile::remove(temp);
        return say(DurableFiles::errorText(code));
    }
    return true;
}

QString errorText(const QSqlError &error)
{
    switch (primaryCode(error)) {
    case SqliteFull:
        return QStringLiteral("The disk is full: nothing was stored.\r\n"
                              "Make room on the disk, then store again.");
    case SqliteReadOnly:
    case SqlitePerm:
    case SqliteCantOpen:
        return QStringLiteral(
                   "The database cannot be written by this user: nothing was stored.\r\n") +
               error.databaseText().trimmed();
    default:
        break;
    }
    // The engine's own words where it gave any; the driver's otherwise.
    const QString engine = error.databaseText().trimmed();
    return engine.isEmpty() ? error.text().trimmed() : engine;
}

} // namespace Database
