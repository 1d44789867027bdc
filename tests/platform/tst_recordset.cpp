#include "TestProgram.h"
#include "platform/Recordset.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

// The cursor over a fresh database made from the real schema.
class TestRecordset : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->prepareState();
    }
    void cleanup() { m_program.reset(); }

    void opensOnlyListedTables();
    void navigation_data();
    void navigation();
    void keysetInRowidOrder_data();
    void keysetInRowidOrder();
    void find_data();
    void find();
    void updateFails_data();
    void updateFails();

private:
    QSqlDatabase db() const { return m_program->state->db(); }

    // Each student's surname is "Surname of " + the number; the recordset is
    // then opened on Student.
    void openStudents(Recordset &rs, const QStringList &numbers)
    {
        QSqlQuery q(db());
        for (QString n : numbers)
            QVERIFY(
                q.exec(QStringLiteral(
                           "INSERT INTO Student (Number, Surname) VALUES ('%1', 'Surname of %1')")
                           .arg(n.replace(u'\'', "''"))));
        QVERIFY(rs.open(db(), "Student"));
    }

    int countInTable(const QString &condition = "1")
    {
        QSqlQuery q(db());
        return q.exec(QStringLiteral("SELECT count(*) FROM Student WHERE ") + condition) && q.next()
                   ? q.value(0).toInt()
                   : -1;
    }

    // Where the cursor stands: "BOF", "EOF", "BOF+EOF", the row's Number, or
    // "gap" where a row was deleted ("stale" if anything of it still shows).
    static QString where(const Recordset &rs)
    {
        if (rs.bof() || rs.eof())
            return QString(rs.bof() ? "BOF" : "") + (rs.bof() && rs.eof() ? "+" : "") +
                   (rs.eof() ? "EOF" : "");
        if (!rs.hasCurrentRow())
            return rs.value("Surname").isValid() ? "stale" : "gap";
        return rs.value("Number").toString();
    }

    std::unique_ptr<TestProgram> m_program;
};

// A name the database lists, letter case aside, and nothing else.
void TestRecordset::opensOnlyListedTables()
{
    const QList<std::pair<QString, QString>> names = {
        {"Stock", "Stock"},    {"fORMERstaff", "FormerStaff"},
        {"Pupils", ""},        {"Staff; DROP TABLE Stock", ""},
        {"sqlite_master", ""}, {"", ""}};
    for (const auto &[name, opened] : names) {
        Recordset rs;
        QVERIFY2(rs.open(db(), name) == !opened.isEmpty(), qPrintable(name));
        QCOMPARE(rs.tableName(), opened);
        QVERIFY2(rs.lastError().isEmpty() == !opened.isEmpty(), qPrintable(name));
        QCOMPARE(rs.columnNames().size(), db().record(opened).count());
    }
    QVERIFY(db().tables().contains("Stock"));
}

// Steps: F, L, N, P the moves; X a find that fails; D delete; E edit and A a
// new row (both typing Number 4); C cancel; W a new row 5 stored; G row 2
// deleted behind the cursor's back; d, s, u a delete, change, store refused.
// The trace is where the cursor stands at the start and after each step.
void TestRecordset::navigation_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("trace");
    QTest::newRow("empty") << "FLNP" << 0 << "BOF+EOF BOF+EOF BOF+EOF BOF+EOF BOF+EOF";
    QTest::newRow("one row") << "NNPPPNLF" << 1 << "1 EOF EOF 1 BOF BOF 1 1 1";
    QTest::newRow("three forward") << "NNNNP" << 3 << "1 2 3 EOF EOF 3";
    QTest::newRow("three backward") << "LPPPPN" << 3 << "1 3 2 1 BOF BOF 1";
    QTest::newRow("ends from markers") << "PLNFPL" << 3 << "1 BOF 3 EOF 1 BOF 3";
    // A failed find stands after the last row, whatever row it stood on.
    QTest::newRow("missing find, next") << "NXN" << 3 << "1 2 EOF EOF";
    QTest::newRow("missing find, previous") << "XP" << 3 << "1 EOF 3";
    // Deleting leaves the cursor in the gap the row left.
    QTest::newRow("delete first, next") << "DN" << 3 << "1 gap 2";
    QTest::newRow("delete first, previous") << "DP" << 3 << "1 gap BOF";
    QTest::newRow("delete middle, previous") << "NDP" << 3 << "1 2 gap 1";
    QTest::newRow("delete last, next") << "LDN" << 3 << "1 3 gap EOF";
    // An edit or a started row that was not written is dropped.
    QTest::newRow("edit, cancelled") << "NEC" << 3 << "1 2 4 2";
    QTest::newRow("edit, moved off") << "NEN" << 3 << "1 2 4 3";
    QTest::newRow("new row, cancelled") << "NAC" << 3 << "1 2 4 2";
    QTest::newRow("new row, moved off") << "NAN" << 3 << "1 2 4 3";
    // Nothing can be changed where there is no row.
    QTest::newRow("no row, empty")
        << "sudWDdN" << 0 << "BOF+EOF BOF+EOF BOF+EOF BOF+EOF 5 gap gap BOF+EOF";
    QTest::newRow("no row, gone behind") << "GNsuP" << 3 << "1 1 gap gap gap 1";
}

void TestRecordset::navigation()
{
    Recordset rs;
    QFETCH(QString, steps);
    QFETCH(int, rows);
    QFETCH(QString, trace);
    openStudents(rs, QStringList{"1", "2", "3"}.mid(0, rows));
    QCOMPARE(rs.recordCount(), rows);
    const auto move = [&rs](void (Recordset::*to)()) {
        return [&rs, to] {
            (rs.*to)();
            return true;
        };
    };
    const auto type = [&rs](const char *number, const char *surname) {
        return rs.setValue("Number", number) && rs.setValue("Surname", surname);
    };
    const QHash<QChar, std::function<bool()>> act = {
        {u'F', move(&Recordset::moveFirst)},
        {u'L', move(&Recordset::moveLast)},
        {u'N', move(&Recordset::moveNext)},
        {u'P', move(&Recordset::movePrevious)},
        {u'C', move(&Recordset::cancelUpdate)},
        {u'X', [&rs] { return !rs.find("Number", "9"); }},
        {u'D', [&rs] { return rs.deleteCurrent(); }},
        {u'd', [&rs] { return !rs.deleteCurrent() && !rs.lastError().isEmpty(); }},
        {u's', [&rs] { return !rs.setValue("Surname", "Ghost"); }},
        {u'u', [&rs] { return !rs.update(); }},
        {u'G', [this] { return QSqlQuery(db()).exec("DELETE FROM Student WHERE Number = '2'"); }},
        {u'W', [&rs, type] { return rs.addNew() && type("5", "Surname of 5") && rs.update(); }},
        {u'A', [&rs, type] { return rs.addNew() && type("4", "Changed"); }},
        {u'E', [type] { return type("4", "Changed"); }}};
    QStringList seen{where(rs)};
    for (QChar step : steps) {
        QVERIFY2(act.value(step)(),
                 qPrintable(QStringLiteral("step %1: %2").arg(step).arg(rs.lastError())));
        seen.append(where(rs));
    }
    QCOMPARE(seen.join(u' '), trace);
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    // A row deleted behind the cursor's back keeps its place in the keyset.
    QCOMPARE(rs.recordCount(), rows + int(steps.count(u'W') - steps.count(u'D')));
    QCOMPARE(countInTable(), rs.recordCount() - int(steps.count(u'G')));
    QCOMPARE(countInTable("Surname <> 'Surname of ' || Number"), 0);
}

// The keys come from an index and are sorted afterwards: the rows must still
// come in rowid order, with gaps and deleted rows, whatever the index's order.
// Each row's tag column holds its rowid, so the cursor tells which row it shows.
void TestRecordset::keysetInRowidOrder_data()
{
    QTest::addColumn<QStringList>("tableKeyTag");
    QTest::newRow("unique number") << QStringList{"Student", "Number", "Surname"};
    QTest::newRow("repeated number") << QStringList{"FormerStudent", "Number", "Surname"};
    QTest::newRow("integer key, dated")
        << QStringList{"Accounts", "Date_Of_Transaction", "Good_Or_Service"};
}

void TestRecordset::keysetInRowidOrder()
{
    QFETCH(QStringList, tableKeyTag);
    const QString &table = tableKeyTag[0], &key = tableKeyTag[1], &tag = tableKeyTag[2];
    // Rowids with gaps and keys that sort against them; FormerStudent repeats one.
    const QString last = table == "FormerStudent" ? "a" : "k";
    QSqlQuery q(db());
    QVERIFY2(
        q.exec(QStringLiteral("INSERT INTO %1 (rowid, %2, %3) VALUES (7, 'b', '7'), (3, 'z', '3'), "
                              "(40, 'a', '40'), (12, 'm', '12'), (5, 'y', '5'), (90, 'c', '90'), "
                              "(41, '%4', '41')")
                   .arg(table, key, tag, last)),
        qPrintable(q.lastError().text()));
    QVERIFY(q.exec(QStringLiteral("DELETE FROM %1 WHERE rowid IN (12, 90)").arg(table)));

    Recordset rs;
    QVERIFY(rs.open(db(), table));
    QStringList seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        seen.append(rs.value(tag).toString());
    QCOMPARE(seen, (QStringList{"3", "5", "7", "40", "41"}));
}

void TestRecordset::find_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("found"); // empty: not found
    const auto row = [](const char *name, const char *field, const char *wanted,
                        const char *found) {
        QTest::newRow(name) << QString::fromUtf8(field) << QString::fromUtf8(wanted)
                            << QString::fromUtf8(found);
    };
    row("quote, other case", "Number", "o'BRIEN-1", "O'Brien-1");
    row("percent", "Number", "50%off", "50%off");
    row("percent is no wildcard", "Number", "50%", "");
    row("underscore", "Number", "a_1", "A_1");
    row("injection", "Number", "x' OR '1'='1", "");
    row("blanks are kept", "Number", " 2003/045", "");
    row("empty", "Number", "", "");
    row("other field, name case", "surname", "SURNAME OF z", "Z");
    row("field name as SQL", "Number = 'Z' OR 1", "Z", "");
}

// The found row reads as stored: a null stays null, an empty text is a value.
void TestRecordset::find()
{
    Recordset rs;
    QFETCH(QString, field);
    QFETCH(QString, wanted);
    QFETCH(QString, found);
    // AX1 comes first in row order, so a pattern match on A_1 would stop there.
    openStudents(rs, {"AX1", "2003/045", "O'Brien-1", "50%off", "A_1", "Z"});
    QVERIFY(QSqlQuery(db()).exec("UPDATE Student SET Other_Names = ''"));
    rs.moveLast();
    QCOMPARE(rs.find(field, wanted), !found.isEmpty());
    QCOMPARE(where(rs), found.isEmpty() ? QStringLiteral("EOF") : found);
    if (!found.isEmpty()) {
        QVERIFY(rs.value("Address").isValid());
        QVERIFY(rs.value("Address").isNull());
        QCOMPARE(rs.value("Other_Names"), QVariant(QString()));
        QVERIFY(!rs.value("Other_Names").isNull());
        QVERIFY(!rs.value("NoSuchField").isValid());
    }
}

void TestRecordset::updateFails_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message"); // part of the engine's words
    QTest::newRow("duplicate number") << true << "Number" << QVariant("s2") << "UNIQUE";
    QTest::newRow("no number") << true << "Other_Names" << QVariant("Nobody") << "NOT NULL";
    QTest::newRow("money as words") << false << "Debt_From_Last_Term" << QVariant("lots") << "REAL";
    QTest::newRow("number to another's") << false << "Number" << QVariant("S2") << "UNIQUE";
    // The database may grow no further, as on a full disk.
    QTest::newRow("disk full") << true << "Number" << QVariant(QString(20000, u'9'))
                               << "The disk is full";
}

// Still editing with what was typed, the table as it was; once mended, the
// store goes through and touches no other row.
void TestRecordset::updateFails()
{
    Recordset rs;
    QFETCH(bool, adding);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    openStudents(rs, {"S1", "S2"});
    if (adding) {
        QVERIFY(rs.addNew());
        for (const QString &column : rs.columnNames())
            QVERIFY2(rs.value(column).isNull(), qPrintable(column));
    }
    QVERIFY(rs.setValue("Surname", "Typed"));
    QVERIFY(rs.setValue(field, value));
    if (message.startsWith(QLatin1String("The disk")))
        QVERIFY(QSqlQuery(db()).exec("PRAGMA max_page_count = 1"));
    QVERIFY(!rs.update());
    QVERIFY2(rs.lastError().contains(message), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), adding ? Recordset::EditMode::Adding : Recordset::EditMode::Editing);
    QCOMPARE(rs.value(field), value);
    QCOMPARE(rs.value("Surname"), QVariant("Typed"));
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(countInTable(), 2);
    QCOMPARE(countInTable("Surname = 'Typed'"), 0);

    // Money arrives as the text the operator typed; the row is re-read as stored, a
    // null written over a value stored as null.
    const bool renumbered = adding || field == QLatin1String("Number");
    QVERIFY(rs.setValue(renumbered ? "Number" : field, renumbered ? "S3" : "20.5"));
    QVERIFY(rs.setValue("Other_Names", QVariant()));
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(rs.recordCount(), adding ? 3 : 2);
    QCOMPARE(where(rs), renumbered ? QStringLiteral("S3") : QStringLiteral("S1"));
    QCOMPARE(
        countInTable(QStringLiteral("Surname = 'Typed' AND Number = '%1' AND Other_Names IS NULL")
                         .arg(where(rs))),
        1);
    QVERIFY(rs.value("Other_Names").isNull());
    if (!renumbered)
        QCOMPARE(rs.value(field), QVariant(20.5));
    QCOMPARE(countInTable("Number = 'S2' AND Surname = 'Surname of S2'"), 1);
    // A new row joins the keyset at the end of row order.
    rs.movePrevious();
    QCOMPARE(where(rs), adding ? QStringLiteral("S2") : QStringLiteral("BOF"));
}

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
