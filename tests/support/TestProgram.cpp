#include "TestProgram.h"

#include "classes/ClassStructure.h"
#include "platform/Database.h"
#include "platform/KeyValueFile.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#ifndef KOLVANE_EMPTY_DB_FILE
#error "KOLVANE_EMPTY_DB_FILE must name the database built from the schema"
#endif

QString emptyDatabaseFile()
{
    return QStringLiteral(KOLVANE_EMPTY_DB_FILE);
}

QStringList column(const QString &dbFile, const QString &sql)
{
    QStringList values;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("column"));
        db.setDatabaseName(dbFile);
        QSqlQuery q(db);
        if (!db.open() || !q.exec(sql))
            values.append(QStringLiteral("error: ") + q.lastError().text());
        while (q.next())
            values.append(q.value(0).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("column"));
    return values;
}

TestProgram::TestProgram(Layout layout)
{
    if (!m_dir.isValid())
        qFatal("cannot make a temporary program folder");
    waiter.journal = &journal;
    sound.journal = &journal;
    state = std::make_unique<AppState>(Services{messages, waiter, sound, clock, desktop});
    state->AppPath = appPath();
    if (layout == Full) {
        QDir d(m_dir.path());
        for (const char *f : {"Progs", "Backup", "Reports", "Pictures/FrontView", "Sounds/Wav",
                              "Sounds/Midi"})
            d.mkpath(QString::fromLatin1(f));
        copyEmptyDatabaseTo(QString::fromLatin1(Database::FileName));
    }
}

TestProgram::~TestProgram()
{
    Database::close(state->DbConnection);
}

QString TestProgram::appPath() const
{
    return m_dir.path() + u'/';
}

void TestProgram::writeIni(const QList<std::pair<QString, QString>> &pairs)
{
    QDir().mkpath(file(QStringLiteral("Progs")));
    if (!KeyValueFile(file(QStringLiteral("Progs/Kolvane.ini"))).write(pairs))
        qFatal("cannot write the class structure file");
}

void TestProgram::writeTypicalIni()
{
    QList<std::pair<QString, QString>> pairs;
    pairs.append({QStringLiteral("CurrentTerm"), QStringLiteral("Second Term_2026/2027")});
    for (const QString &level : ClassStructure::levelNames())
        pairs.append({ClassStructure::countKey(level), QStringLiteral("0")});
    auto arms = [&pairs](const QString &level, const QStringList &names) {
        pairs.append({ClassStructure::countKey(level), QString::number(names.size())});
        for (int i = 0; i < names.size(); ++i)
            pairs.append({ClassStructure::armKey(level, i + 1), names.at(i)});
    };
    arms(QStringLiteral("Nursery1"), {QStringLiteral("Daisy")});
    arms(QStringLiteral("Primary1"), {QStringLiteral("Blue"), QStringLiteral("Red")});
    arms(QStringLiteral("Primary2"), {QStringLiteral("Blue"), QStringLiteral("Green")});
    arms(QStringLiteral("Secondary1"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    writeIni(pairs);
}

void TestProgram::copyEmptyDatabaseTo(const QString &relative)
{
    const QString target = file(relative);
    QFile::remove(target);
    if (!QFile::copy(emptyDatabaseFile(), target))
        qFatal("cannot copy the empty database; was it built?");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestProgram::writeFile(const QString &relative, const QByteArray &bytes)
{
    QFile f(file(relative));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
}

void TestProgram::prepareState()
{
    state->AppPath = appPath();
    state->IniPath = state->path(QStringLiteral("Progs/Kolvane.ini"));
    LoadClassStructure(state->classes, state->IniPath);
    Database::open(state->databaseFile(), state->DbConnection);
}
