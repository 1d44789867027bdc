#include "app/Backups.h"

#include "app/AppState.h"
#include "platform/Clock.h"
#include "platform/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace Backups {

QString datedFile(const AppState &state, const QDateTime &when)
{
    return QFileInfo(state.backupFile()).absolutePath() + QStringLiteral("/KolvaneBackup-") +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".db");
}

bool write(const AppState &state, QString *error)
{
    const QString db = state.databaseFile();
    QString problem;
    if (!Database::passesQuickCheck(db, &problem)) {
        *error = QStringLiteral("The database ") + db + QStringLiteral(" failed its check:\r\n") +
                 problem;
        return false;
    }
    // A second exit within the same second replaces that second's copy.
    const QString dated = datedFile(state, state.services.clock.now());
    if (!Database::copyDatabase(db, dated, &problem) ||
        !Database::copyDatabase(dated, state.backupFile(), &problem)) {
        *error = problem;
        return false;
    }
    // The dated names sort by their moment.
    QDir folder(QFileInfo(dated).absolutePath(), QStringLiteral("KolvaneBackup-*.db"),
                QDir::Name | QDir::Reversed, QDir::Files);
    static const QRegularExpression datedName(QStringLiteral("^KolvaneBackup-\\d{8}-\\d{6}\\.db$"));
    const QStringList history = folder.entryList().filter(datedName);
    for (qsizetype i = HistoryLength; i < history.size(); ++i)
        folder.remove(history.at(i));
    return true;
}

} // namespace Backups
