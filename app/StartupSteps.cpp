#include "app/StartupSteps.h"

#include "app/AppState.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>

namespace StartupSteps {

const QStringList &workingFolders()
{
    static const QStringList folders = {
        QStringLiteral("Reports"),   QStringLiteral("Pictures/FrontView"),
        QStringLiteral("Backup"),    QStringLiteral("Progs"),
        QStringLiteral("Sounds/Wav"), QStringLiteral("Sounds/Midi")};
    return folders;
}

void createWorkingFolders(const QString &appPath)
{
    for (const QString &folder : workingFolders()) {
        const QString target = Paths::resolve(appPath, folder);
        if (QFileInfo(target).isDir())
            continue;
        // One level only: a missing parent means the folder is not made.
        QDir().mkdir(target);
    }
}

void removeLeftovers(const QString &appPath)
{
    static const QRegularExpression temporary(QStringLiteral("\\.tmp-[A-Za-z0-9]{6}$"));
    for (const char *folder : {"Progs", "Backup"}) {
        QDir dir(Paths::resolve(appPath, QLatin1String(folder)));
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden).filter(temporary))
            dir.remove(name);
    }
}

QStringList musicFiles(const QString &appPath)
{
    const QString folder = Paths::resolve(appPath, QStringLiteral("Sounds/Midi"));
    QDir dir(folder);
    QStringList result;
    if (!dir.exists())
        return result;
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QStringList all = dir.entryList();
    for (const QString &suffix : {QStringLiteral(".mid"), QStringLiteral(".rmi")})
        for (const QString &name : all)
            if (name.endsWith(suffix, Qt::CaseInsensitive) && name.size() > suffix.size())
                result.append(Paths::withTrailingSlash(folder) + name);
    return result;
}

void setSoundPaths(AppState &state)
{
    state.IntroWav = state.path(QStringLiteral("Sounds/Wav/Intro.Wav"));
    state.IdentifyWav = state.path(QStringLiteral("Sounds/Wav/Identify.Wav"));
    state.ProceedWav = state.path(QStringLiteral("Sounds/Wav/Proceed.Wav"));
    state.DeniedWav = state.path(QStringLiteral("Sounds/Wav/Denied.Wav"));
    state.TryAgainWav = state.path(QStringLiteral("Sounds/Wav/TryAgain.Wav"));
    state.SirenWav = state.path(QStringLiteral("Sounds/Wav/Siren1.Wav"));
}

namespace {

bool missingOrEmpty(const QString &file)
{
    return Database::fileLength(file) == 0;
}

// Read and write for the file, and the folder for its journal; judged with
// the rights the program runs under.
bool mayUse(const QString &file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    return ::faccessat(AT_FDCWD, QFile::encodeName(file).constData(), R_OK | W_OK, AT_EACCESS) ==
               0 &&
           ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

QString asideName(const QString &db, const QDateTime &now)
{
    const QString stamp =
        db + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stamp;
    for (int n = 2; QFileInfo::exists(name) || !Database::companions(name).isEmpty(); ++n)
        name = stamp + u'-' + QString::number(n);
    return name;
}

} // namespace

DatabaseVerdict ensureDatabase(AppState &state, const QDateTime &now)
{
    DatabaseVerdict verdict;
    const QString db = state.databaseFile();
    const QString backup = state.backupFile();

    if (QFileInfo::exists(db) && !mayUse(db)) {
        verdict.kind = DatabaseVerdict::NoAccess;
        return verdict;
    }
    if (missingOrEmpty(db)) {
        // A journal beside a missing or empty file belongs to no database we
        // have; played onto the restored copy it would damage it.
        if (!Database::companions(db).isEmpty())
            Database::moveAside(db, asideName(db, now));
        // A damaged backup would only put a damaged file in its place.
        if (Database::passesQuickCheck(backup))
            Database::copyDatabase(backup, db);
        state.WaitSeconds(2);
        verdict.kind = missingOrEmpty(db) ? DatabaseVerdict::Missing : DatabaseVerdict::Restored;
        return verdict;
    }

    // Busy or unreadable just now is no sign of damage: the forms report it.
    if (Database::recover(db) != Database::Health::Damaged)
        return verdict;

    // Damaged: never deleted, kept aside with its journal for whoever repairs it.
    if (!Database::passesQuickCheck(backup)) {
        verdict.kind = DatabaseVerdict::Unusable;
        return verdict;
    }
    const QString keptAs = asideName(db, now);
    if (!Database::moveAside(db, keptAs) || !Database::copyDatabase(backup, db)) {
        verdict.kind = QFileInfo::exists(db) ? DatabaseVerdict::Unusable : DatabaseVerdict::Missing;
        return verdict;
    }
    verdict.kind = DatabaseVerdict::RestoredDamaged;
    verdict.keptAs = keptAs;
    return verdict;
}

QString databaseMessage(const DatabaseVerdict &verdict, const QString &databaseFile)
{
    switch (verdict.kind) {
    case DatabaseVerdict::Missing:
        return MessageBoxes::lines({databaseFile, QStringLiteral("File not found or is empty"),
                                    QStringLiteral("Please ensure it is in that folder.")});
    case DatabaseVerdict::Unusable:
        return MessageBoxes::lines(
            {databaseFile,
             QStringLiteral("The database is damaged and no sound backup copy "
                            "can replace it."),
             QStringLiteral("It was left as it is.")});
    case DatabaseVerdict::NoAccess:
        return MessageBoxes::lines(
            {databaseFile,
             QStringLiteral("This user may not read or write the database or its folder."),
             QStringLiteral("Please ask for read and write rights to both.")});
    case DatabaseVerdict::RestoredDamaged:
        return MessageBoxes::lines(
            {QStringLiteral("The database %1 could not be read.").arg(databaseFile),
             QStringLiteral("The damaged file was kept as %1.").arg(verdict.keptAs),
             QStringLiteral("The backup copy was restored in its place.")});
    default:
        return QString();
    }
}

} // namespace StartupSteps
