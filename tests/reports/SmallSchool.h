#pragma once

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The small school of data/small-school.sql: one statement per ";" at a line's end.
inline void fillSmallSchool(const QSqlDatabase &db)
{
    QFile file(QStringLiteral(KOLVANE_TEST_DATA "/small-school.sql"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("small school: %s", qPrintable(file.errorString()));
    for (const QString &sql : QString::fromUtf8(file.readAll()).split(QStringLiteral(";\n"))) {
        QSqlQuery q(db);
        if (!sql.trimmed().isEmpty() && !q.exec(sql))
            qFatal("small school: %s", qPrintable(q.lastError().text()));
    }
}
