#include "records/StoreErrors.h"

#include "platform/Database.h"

#include <QRegularExpression>

QString storeErrorText(const QSqlError &error, const QString &kind, const QString &number,
                       const std::function<QString(const QString &column)> &caption)
{
    const QString engine = error.databaseText().trimmed().isEmpty() ? error.text().trimmed()
                                                                      : error.databaseText().trimmed();
    // Extended result codes where the driver gives them, the engine's text otherwise.
    const int code = error.nativeErrorCode().toInt();
    auto is = [&](int extended, int primary, const char *words) {
        return code == extended || (primary && (code & 0xff) == primary) ||
               engine.contains(QLatin1String(words), Qt::CaseInsensitive);
    };
    if (is(2067, 0, "UNIQUE constraint failed") || is(1555, 0, "PRIMARY KEY constraint failed"))
        return QStringLiteral("A ") + kind + QStringLiteral(" with the number ") + number +
               QStringLiteral(" already exists.");
    if (is(3091, 0, "cannot store")) {
        static const QRegularExpression column(QStringLiteral("column \\S*?\\.?(\\w+)\\s*$"));
        const QRegularExpressionMatch m = column.match(engine);
        const QString field = m.hasMatch() ? caption(m.captured(1)) : QString();
        return (field.isEmpty() ? QStringLiteral("A number field") : field) +
               QStringLiteral(" must be a number.");
    }
    // A full disk or a database this user cannot write: the words every store uses.
    return Database::errorText(error);
}
