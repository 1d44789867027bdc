#include "app/StartupSteps.h"

#include "app/AppState.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

DatabaseVerdict ensureDatabase(AppState &state, const QDateTime &now)
{
    DatabaseVerdict verdict;
    const QString db = state.databaseFile();
    const QString backup = state.backupFile();

    if (missingOrEmpty(db)) {
        // An unreadable backup would only put a damaged file in its place.
        if (Database::isReadableDatabase(backup))
            Database::copyAtomically(backup, db);
        state.WaitSeconds(2);
        verdict.kind = missingOrEmpty(db) ? DatabaseVerdict::Missing : DatabaseVerdict::Restored;
        return verdict;
    }

    if (Database::isReadableDatabase(db))
        return verdict;

    // Present but not a database we can read: never delete it, keep it aside.
    if (!Database::isReadableDatabase(backup)) {
        verdict.kind = DatabaseVerdict::Missing;
        return verdict;
    }
    QString keptAs = db + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 2; QFileInfo::exists(keptAs); ++n)
        keptAs = db + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"))
                 + u'-' + QString::number(n);
    if (!QFile::rename(db, keptAs) || !Database::copyAtomically(backup, db)) {
        verdict.kind = DatabaseVerdict::Missing;
        return verdict;
    }
    verdict.kind = DatabaseVerdict::RestoredDamaged;
    verdict.keptAs = keptAs;
    return verdict;
}

QString missingDatabaseMessage(const QString &databaseFile)
{
    return MessageBoxes::lines({databaseFile, QStringLiteral("File not found or is empty"),
                                QStringLiteral("Please ensure it is in that folder.")});
}

QString damagedDatabaseMessage(const QString &databaseFile, const QString &keptAs)
{
    return MessageBoxes::lines(
        {QStringLiteral("The database %1 could not be read.").arg(databaseFile),
         QStringLiteral("The damaged file was kept as %1.").arg(keptAs),
         QStringLiteral("The backup copy was restored in its place.")});
}

} // namespace StartupSteps
