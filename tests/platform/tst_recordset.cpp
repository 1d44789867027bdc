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

    void opensOnlyListedTables_data();
    void opensOnlyListedTables();
    void navigation_data();
    void navigation();
    void keysetInRowidOrder_data();
    void keysetInRowidOrder();
    void find_data();
    void find();
    void nullFieldsStayNull();
    void updateFails_data();
    void updateFails();

private:
    QSqlDatabase db() const { return m_program->state->db(); }

    // Each student's surname is "Surname of " + the number; the recordset is
    // then opened on Student.
    void openStudents(Recordset &rs, const QStringList &numbers)
    {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES (?, ?)"));
        for (const QString &n : numbers) {
            q.addBindValue(n);
            q.addBindValue(QStringLiteral("Surname of ") + n);
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        QVERIFY(rs.open(db(), QStringLiteral("Student")));
    }

    int countInTable(const QString &condition = QStringLiteral("1"))
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
            return QString(rs.bof() ? "BOF" : "") + (rs.bof() && rs.eof() ? "+" : "") + (rs.eof() ? "EOF" : "");
        if (!rs.hasCurrentRow())
            return rs.value(QStringLiteral("Surname")).isValid() ? QStringLiteral("stale") : QStringLiteral("gap");
        return rs.value(QStringLiteral("Number")).toString();
    }

    std::unique_ptr<TestProgram> m_program;
};

void TestRecordset::opensOnlyListedTables_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("opened");
    QTest::newRow("listed") << "Stock" << "Stock";
    QTest::newRow("letter case") << "fORMERstaff" << "FormerStaff";
    QTest::newRow("unknown") << "Pupils" << "";
    QTest::newRow("statement") << "Staff; DROP TABLE Stock" << "";
    QTest::newRow("catalogue") << "sqlite_master" << "";
    QTest::newRow("empty") << "" << "";
}

void TestRecordset::opensOnlyListedTables()
{
    Recordset rs;
    QFETCH(QString, name);
    QFETCH(QString, opened);
    QCOMPARE(rs.open(db(), name), !opened.isEmpty());
    QCOMPARE(rs.isOpen(), !opened.isEmpty());
    QCOMPARE(rs.tableName(), opened);
    QCOMPARE(rs.lastError().isEmpty(), !opened.isEmpty());
    QVERIFY(db().tables().contains(QStringLiteral("Stock")));
    QCOMPARE(rs.columnNames().size(), db().record(opened).count());
}

// Steps: F, L, N, P the moves; X a find that fails; D delete; E edit and A a
// new row (both typing Number 4); C cancel; W a new row 5 stored; G row 2
// deleted behind the cursor's back; d, s, u a delete, change, store refused.
void TestRecordset::navigation_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << 0 << "FLNP" << QStringList(5, QStringLiteral("BOF+EOF"));
    QTest::newRow("one row") << 1 << "NNPPPNLF" << QStringList{"1", "EOF", "EOF", "1", "BOF", "BOF", "1", "1", "1"};
    QTest::newRow("three forward") << 3 << "NNNNP" << QStringList{"1", "2", "3", "EOF", "EOF", "3"};
    QTest::newRow("three backward") << 3 << "LPPPPN" << QStringList{"1", "3", "2", "1", "BOF", "BOF", "1"};
    QTest::newRow("ends from markers") << 3 << "PLNFPL" << QStringList{"1", "BOF", "3", "EOF", "1", "BOF", "3"};
    // A failed find stands after the last row, whatever row it stood on.
    QTest::newRow("missing find, next") << 3 << "NXN" << QStringList{"1", "2", "EOF", "EOF"};
    QTest::newRow("missing find, previous") << 3 << "XP" << QStringList{"1", "EOF", "3"};
    // Deleting leaves the cursor in the gap the row left.
    QTest::newRow("delete first, next") << 3 << "DN" << QStringList{"1", "gap", "2"};
    QTest::newRow("delete first, previous") << 3 << "DP" << QStringList{"1", "gap", "BOF"};
    QTest::newRow("delete middle, previous") << 3 << "NDP" << QStringList{"1", "2", "gap", "1"};
    QTest::newRow("delete last, next") << 3 << "LDN" << QStringList{"1", "3", "gap", "EOF"};
    // An edit or a started row that was not written is dropped.
    QTest::newRow("edit, cancelled") << 3 << "NEC" << QStringList{"1", "2", "4", "2"};
    QTest::newRow("edit, moved off") << 3 << "NEN" << QStringList{"1", "2", "4", "3"};
    QTest::newRow("new row, cancelled") << 3 << "NAC" << QStringList{"1", "2", "4", "2"};
    QTest::newRow("new row, moved off") << 3 << "NAN" << QStringList{"1", "2", "4", "3"};
    // Nothing can be changed where there is no row.
    QTest::newRow("no row, empty")
        << 0 << "sudWDdN" << QStringList{"BOF+EOF", "BOF+EOF", "BOF+EOF", "BOF+EOF", "5", "gap", "gap", "BOF+EOF"};
    QTest::newRow("no row, gone behind") << 3 << "GNsuP" << QStringList{"1", "1", "gap", "gap", "gap", "1"};
}

void TestRecordset::navigation()
{
    Recordset rs;
    QFETCH(int, rows);
    QFETCH(QString, steps);
    QFETCH(QStringList, expected);
    openStudents(rs, QStringList{"1", "2", "3"}.mid(0, rows));
    QCOMPARE(rs.recordCount(), rows);
    QStringList seen{where(rs)};
    for (QChar step : steps) {
        switch (step.unicode()) {
        case 'F': rs.moveFirst(); break;
        case 'L': rs.moveLast(); break;
        case 'N': rs.moveNext(); break;
        case 'P': rs.movePrevious(); break;
        case 'X': QVERIFY(!rs.find(QStringLiteral("Number"), QStringLiteral("9"))); break;
        case 'D': QVERIFY2(rs.deleteCurrent(), qPrintable(rs.lastError())); break;
        case 'd': QVERIFY(!rs.deleteCurrent() && !rs.lastError().isEmpty()); break;
        case 's': QVERIFY(!rs.setValue(QStringLiteral("Surname"), QStringLiteral("Ghost"))); break;
        case 'u': QVERIFY(!rs.update()); break;
        case 'G': QVERIFY(QSqlQuery(db()).exec(QStringLiteral("DELETE FROM Student WHERE Number = '2'"))); break;
        case 'C': rs.cancelUpdate(); break;
        case 'W':
            QVERIFY(rs.addNew() && rs.setValue(QStringLiteral("Number"), QStringLiteral("5")));
            QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Surname of 5")) && rs.update());
            break;
        case 'A': QVERIFY(rs.addNew()); [[fallthrough]];
        case 'E':
            QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("4")));
            QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Changed")));
        }
        seen.append(where(rs));
    }
    QCOMPARE(seen, expected);
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    // A row deleted behind the cursor's back keeps its place in the keyset.
    QCOMPARE(rs.recordCount(), rows + int(steps.count(u'W') - steps.count(u'D')));
    QCOMPARE(countInTable(), rs.recordCount() - int(steps.count(u'G')));
    QCOMPARE(countInTable(QStringLiteral("Surname <> 'Surname of ' || Number")), 0);
}

// The keys come from an index and are sorted afterwards: the rows must still
// come in rowid order, with gaps and deleted rows, whatever the index's order.
// Each row's tag column holds its rowid, so the cursor tells which row it shows.
void TestRecordset::keysetInRowidOrder_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("tag");
    QTest::newRow("unique number") << "Student" << "Number" << "Surname";
    QTest::newRow("repeated number") << "FormerStudent" << "Number" << "Surname";
    QTest::newRow("integer key, dated") << "Accounts" << "Date_Of_Transaction" << "Good_Or_Service";
}

void TestRecordset::keysetInRowidOrder()
{
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QString, tag);
    // Rowids with gaps and keys that sort against them; FormerStudent repeats one.
    const QString last = table == QLatin1String("FormerStudent") ? QStringLiteral("a") : QStringLiteral("k");
    QSqlQuery q(db());
    QVERIFY2(q.exec(QStringLiteral("INSERT INTO %1 (rowid, %2, %3) VALUES (7, 'b', '7'), (3, 'z', '3'), "
                                   "(40, 'a', '40'), (12, 'm', '12'), (5, 'y', '5'), (90, 'c', '90'), (41, '%4', '41')")
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
    QTest::newRow("quote, other case") << "Number" << "o'BRIEN-1" << "O'Brien-1";
    QTest::newRow("percent") << "Number" << "50%off" << "50%off";
    QTest::newRow("percent is no wildcard") << "Number" << "50%" << "";
    QTest::newRow("underscore") << "Number" << "a_1" << "A_1";
    QTest::newRow("injection") << "Number" << "x' OR '1'='1" << "";
    QTest::newRow("blanks are kept") << "Number" << " 2003/045" << "";
    QTest::newRow("empty") << "Number" << "" << "";
    QTest::newRow("other field, name case") << "surname" << "SURNAME OF z" << "Z";
    QTest::newRow("field name as SQL") << "Number = 'Z' OR 1" << "Z" << "";
}

void TestRecordset::find()
{
    Recordset rs;
    QFETCH(QString, field);
    QFETCH(QString, wanted);
    QFETCH(QString, found);
    // AX1 comes first in row order, so a pattern match on A_1 would stop there.
    openStudents(rs, {"AX1", "2003/045", "O'Brien-1", "50%off", "A_1", "Z"});
    rs.moveLast();
    QCOMPARE(rs.find(field, wanted), !found.isEmpty());
    QCOMPARE(where(rs), found.isEmpty() ? QStringLiteral("EOF") : found);
    QCOMPARE(rs.recordCount(), 6);
}

void TestRecordset::nullFieldsStayNull()
{
    Recordset rs;
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, Debt_From_Last_Term) VALUES ('7', '', 5)")));
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    const QVariant address = rs.value(QStringLiteral("Address"));
    QVERIFY(address.isValid() && address.isNull());
    // An empty text is a value, not a null.
    QVERIFY(!rs.value(QStringLiteral("Surname")).isNull());
    QVERIFY(!rs.value(QStringLiteral("NoSuchField")).isValid());
    // Writing a null back keeps it null in the table.
    QVERIFY(rs.setValue(QStringLiteral("Debt_From_Last_Term"), QVariant()));
    QVERIFY(rs.update());
    QCOMPARE(countInTable(QStringLiteral("Surname = '' AND Debt_From_Last_Term IS NULL")), 1);
    QVERIFY(rs.value(QStringLiteral("Debt_From_Last_Term")).isNull());
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
    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Typed")));
    QVERIFY(rs.setValue(field, value));
    if (message.startsWith(QLatin1String("The disk")))
        QVERIFY(QSqlQuery(db()).exec(QStringLiteral("PRAGMA max_page_count = 1")));
    QVERIFY(!rs.update());
    QVERIFY2(rs.lastError().contains(message), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), adding ? Recordset::EditMode::Adding : Recordset::EditMode::Editing);
    QCOMPARE(rs.value(field), value);
    QCOMPARE(rs.value(QStringLiteral("Surname")).toString(), QStringLiteral("Typed"));
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(countInTable(), 2);
    QCOMPARE(countInTable(QStringLiteral("Surname = 'Typed'")), 0);

    // Money arrives as the text the operator typed; the row is re-read as stored.
    const bool renumbered = adding || field == QLatin1String("Number");
    QVERIFY(rs.setValue(renumbered ? QStringLiteral("Number") : field, renumbered ? "S3" : "20.5"));
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(rs.recordCount(), adding ? 3 : 2);
    QCOMPARE(where(rs), renumbered ? QStringLiteral("S3") : QStringLiteral("S1"));
    QCOMPARE(countInTable(QStringLiteral("Surname = 'Typed' AND Number = '%1'").arg(where(rs))), 1);
    if (!renumbered)
        QCOMPARE(rs.value(field), QVariant(20.5));
    QCOMPARE(countInTable(QStringLiteral("Number = 'S2' AND Surname = 'Surname of S2'")), 1);
    // A new row joins the keyset at the end of row order.
    rs.movePrevious();
    QCOMPARE(where(rs), adding ? QStringLiteral("S2") : QStringLiteral("BOF"));
}

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
