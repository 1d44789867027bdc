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
    void init();
    void cleanup();

    void opensOnlyListedTables_data();
    void opensOnlyListedTables();
    void navigation_data();
    void navigation();
    void find_data();
    void find();
    void findByOtherFields();
    void nullFieldsStayNull();
    void addNewInserts();
    void updateFails_data();
    void updateFails();
    void discardedEdit_data();
    void discardedEdit();
    void deleteAndMove_data();
    void deleteAndMove();
    void emptyTable();
    void rowGoneBehindCursor();

private:
    QSqlDatabase db() const { return m_program->state->db(); }
    void addStudents(std::initializer_list<const char *> numbers);
    int countInTable(const QString &table);
    QString surname(const QString &number) { return stored(number, "Surname").toString(); }
    QVariant stored(const QString &number, const char *field);
    // Where the cursor stands: "BOF", "EOF", "BOF+EOF", "gap" or the row's Number.
    static QString where(const Recordset &rs);
    // F, L, N, P: the moves; X: a find that fails.
    static void move(Recordset &rs, QChar step);

    std::unique_ptr<TestProgram> m_program;
};

void TestRecordset::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->prepareState();
    QVERIFY(db().isOpen());
}

void TestRecordset::cleanup()
{
    m_program.reset();
}

// Each student's surname is "Surname of " + the number.
void TestRecordset::addStudents(std::initializer_list<const char *> numbers)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES (?, ?)"));
    for (const char *n : numbers) {
        q.addBindValue(QString::fromUtf8(n));
        q.addBindValue(QStringLiteral("Surname of ") + QString::fromUtf8(n));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
}

int TestRecordset::countInTable(const QString &table)
{
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM ") + table) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QVariant TestRecordset::stored(const QString &number, const char *field)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT %1 FROM Student WHERE Number = ?").arg(QLatin1String(field)));
    q.addBindValue(number);
    if (!q.exec() || !q.next())
        return {};
    return q.value(0);
}

QString TestRecordset::where(const Recordset &rs)
{
    if (rs.bof() && rs.eof())
        return QStringLiteral("BOF+EOF");
    if (rs.bof())
        return QStringLiteral("BOF");
    if (rs.eof())
        return QStringLiteral("EOF");
    if (!rs.hasCurrentRow())
        return QStringLiteral("gap");
    return rs.value(QStringLiteral("Number")).toString();
}

void TestRecordset::move(Recordset &rs, QChar step)
{
    switch (step.unicode()) {
    case 'F':
        rs.moveFirst();
        break;
    case 'L':
        rs.moveLast();
        break;
    case 'N':
        rs.moveNext();
        break;
    case 'P':
        rs.movePrevious();
        break;
    case 'X': // a find that fails stands after the last row
        QVERIFY(!rs.find(QStringLiteral("Number"), QStringLiteral("9")));
        QVERIFY(!rs.hasCurrentRow());
        break;
    default:
        QFAIL("unknown step");
    }
}

void TestRecordset::opensOnlyListedTables_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("opened");
    QTest::newRow("student") << "Stock"
                             << "Stock";
    QTest::newRow("letter case") << "fORMERstaff"
                                 << "FormerStaff";
    QTest::newRow("unknown") << "Pupils"
                             << "";
    QTest::newRow("statement") << "Staff; DROP TABLE Stock"
                               << "";
    QTest::newRow("catalogue") << "sqlite_master"
                               << "";
    QTest::newRow("empty") << ""
                           << "";
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
    if (opened.isEmpty())
        return;
    // The columns come in the table's own order.
    const QSqlRecord record = db().record(opened);
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns.append(record.fieldName(i));
    QCOMPARE(rs.columnNames(), columns);
}

void TestRecordset::navigation_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << 0 << "FLNP"
                           << QStringList{"BOF+EOF", "BOF+EOF", "BOF+EOF", "BOF+EOF", "BOF+EOF"};
    QTest::newRow("one row") << 1 << "NNPPPNLF"
                             << QStringList{"1", "EOF", "EOF", "1", "BOF", "BOF", "1", "1", "1"};
    QTest::newRow("three forward") << 3 << "NNNNP" << QStringList{"1", "2", "3", "EOF", "EOF", "3"};
    QTest::newRow("three backward")
        << 3 << "LPPPPN" << QStringList{"1", "3", "2", "1", "BOF", "BOF", "1"};
    QTest::newRow("ends from markers")
        << 3 << "PLNFPL" << QStringList{"1", "BOF", "3", "EOF", "1", "BOF", "3"};
    // The record form's Next clamps a move past the end to the last row.
    QTest::newRow("missing find, next") << 3 << "NXN" << QStringList{"1", "2", "EOF", "EOF"};
    QTest::newRow("missing find, previous") << 3 << "XP" << QStringList{"1", "EOF", "3"};
    QTest::newRow("missing find, last") << 3 << "XL" << QStringList{"1", "EOF", "3"};
}

void TestRecordset::navigation()
{
    Recordset rs;
    QFETCH(int, rows);
    QFETCH(QString, steps);
    QFETCH(QStringList, expected);
    if (rows == 1)
        addStudents({"1"});
    else if (rows == 3)
        addStudents({"1", "2", "3"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QCOMPARE(rs.recordCount(), rows);
    QStringList seen{where(rs)};
    for (QChar step : steps) {
        move(rs, step);
        seen.append(where(rs));
    }
    QCOMPARE(seen, expected);
}

void TestRecordset::find_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::newRow("plain") << "2003/045"
                           << "2003/045";
    QTest::newRow("quote, other case") << "o'BRIEN-1"
                                       << "O'Brien-1";
    QTest::newRow("percent") << "50%off"
                             << "50%off";
    QTest::newRow("percent is no wildcard") << "50%"
                                            << "";
    QTest::newRow("underscore") << "a_1"
                                << "A_1";
    QTest::newRow("injection") << "x' OR '1'='1"
                               << "";
    QTest::newRow("blanks are kept") << " 2003/045"
                                     << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestRecordset::find()
{
    Recordset rs;
    QFETCH(QString, wanted);
    QFETCH(QString, found);
    // AX1 comes first in row order, so a pattern match on A_1 would stop there.
    addStudents({"AX1", "2003/045", "O'Brien-1", "50%off", "A_1", "Z"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveLast();
    QCOMPARE(rs.find(QStringLiteral("Number"), wanted), !found.isEmpty());
    QCOMPARE(where(rs), found.isEmpty() ? QStringLiteral("EOF") : found);
    QCOMPARE(rs.recordCount(), 6);
}

void TestRecordset::findByOtherFields()
{
    Recordset rs;
    addStudents({"1", "2", "3"});
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("UPDATE Student SET Surname = 'Okafor' WHERE Number = '2'")));
    QVERIFY(q.exec(QStringLiteral("UPDATE Student SET Surname = 'OKAFOR' WHERE Number = '3'")));
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveLast();
    // The first match in row order, whatever the field name's letter case.
    QVERIFY(rs.find(QStringLiteral("surname"), QStringLiteral("okafor")));
    QCOMPARE(where(rs), QStringLiteral("2"));
    // A field name is never taken as SQL.
    QVERIFY(!rs.find(QStringLiteral("Number = '1' OR 1"), QStringLiteral("1")));
    QVERIFY(!rs.lastError().isEmpty());
    QVERIFY(rs.eof());
}

void TestRecordset::nullFieldsStayNull()
{
    Recordset rs;
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, Debt_From_Last_Term) "
                                  "VALUES ('7', '', 1500.5)")));
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    const QVariant address = rs.value(QStringLiteral("Address"));
    QVERIFY(address.isValid() && address.isNull());
    // An empty text is a value, not a null.
    QVERIFY(!rs.value(QStringLiteral("Surname")).isNull());
    QCOMPARE(rs.value(QStringLiteral("Debt_From_Last_Term")).toDouble(), 1500.5);
    QVERIFY(!rs.value(QStringLiteral("NoSuchField")).isValid());

    // Writing a null back keeps it null in the table.
    QVERIFY(rs.setValue(QStringLiteral("Debt_From_Last_Term"), QVariant()));
    QVERIFY(rs.update());
    QVERIFY(stored(QStringLiteral("7"), "Debt_From_Last_Term").isNull());
    QVERIFY(rs.value(QStringLiteral("Debt_From_Last_Term")).isNull());
}

void TestRecordset::addNewInserts()
{
    Recordset rs;
    addStudents({"1", "2"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(rs.addNew());
    QCOMPARE(rs.editMode(), Recordset::EditMode::Adding);
    for (const QString &column : rs.columnNames())
        QVERIFY2(rs.value(column).isNull(), qPrintable(column));
    QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("2003/045")));
    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Adeyemi")));
    // Money arrives as the text the operator typed; the engine converts it.
    QVERIFY(rs.setValue(QStringLiteral("Debt_From_Last_Term"), QStringLiteral("1500.5")));
    QCOMPARE(rs.recordCount(), 2);
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));

    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(where(rs), QStringLiteral("2003/045"));
    QCOMPARE(rs.value(QStringLiteral("Debt_From_Last_Term")), QVariant(1500.5));
    QCOMPARE(surname(QStringLiteral("2003/045")), QStringLiteral("Adeyemi"));
    // It joined the keyset at the end of row order.
    rs.movePrevious();
    QCOMPARE(where(rs), QStringLiteral("2"));
    rs.moveLast();
    QCOMPARE(where(rs), QStringLiteral("2003/045"));
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
    QTest::newRow("empty money") << false << "Amount_Payable" << QVariant("") << "REAL";
    QTest::newRow("number to another's") << false << "Number" << QVariant("S2") << "UNIQUE";
    QTest::newRow("number emptied") << false << "Number" << QVariant() << "NOT NULL";
}

void TestRecordset::updateFails()
{
    Recordset rs;
    QFETCH(bool, adding);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    addStudents({"S1", "S2"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    if (adding)
        QVERIFY(rs.addNew());
    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Typed")));
    QVERIFY(rs.setValue(field, value));

    QVERIFY(!rs.update());
    QVERIFY2(rs.lastError().contains(message), qPrintable(rs.lastError()));
    // Still editing, with what was typed; the table is as it was.
    QCOMPARE(rs.editMode(), adding ? Recordset::EditMode::Adding : Recordset::EditMode::Editing);
    QCOMPARE(rs.value(field), value);
    QCOMPARE(rs.value(QStringLiteral("Surname")).toString(), QStringLiteral("Typed"));
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(countInTable(QStringLiteral("Student")), 2);
    QCOMPARE(surname(QStringLiteral("S1")), QStringLiteral("Surname of S1"));

    // The operator mends the field and stores again.
    if (field == QLatin1String("Number") || adding)
        QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("S3")));
    else
        QVERIFY(rs.setValue(field, QStringLiteral("20")));
    QVERIFY(rs.setValue(QStringLiteral("Remarks"), QStringLiteral("Line one\r\nLine two")));
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(rs.recordCount(), adding ? 3 : 2);
    const QString number = rs.value(QStringLiteral("Number")).toString();
    QCOMPARE(number, adding || field == QLatin1String("Number") ? QStringLiteral("S3")
                                                                : QStringLiteral("S1"));
    QCOMPARE(surname(number), QStringLiteral("Typed"));
    QCOMPARE(stored(number, "Remarks").toString(), QStringLiteral("Line one\r\nLine two"));
    // The neighbour is untouched.
    QCOMPARE(surname(QStringLiteral("S2")), QStringLiteral("Surname of S2"));
    if (!adding && field != QLatin1String("Number"))
        QCOMPARE(rs.value(field), QVariant(20.0));
}

void TestRecordset::discardedEdit_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<bool>("byMove"); // else by cancelUpdate()
    QTest::addColumn<QString>("lands");
    QTest::newRow("edit, cancelled") << false << false << "2";
    QTest::newRow("edit, moved off") << false << true << "3";
    QTest::newRow("new row, cancelled") << true << false << "2";
    QTest::newRow("new row, moved off") << true << true << "3";
}

void TestRecordset::discardedEdit()
{
    Recordset rs;
    QFETCH(bool, adding);
    QFETCH(bool, byMove);
    QFETCH(QString, lands);
    addStudents({"1", "2", "3"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveNext();
    if (adding)
        QVERIFY(rs.addNew());
    QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("4")));
    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Changed")));
    if (byMove)
        rs.moveNext();
    else
        rs.cancelUpdate();
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(where(rs), lands);
    QCOMPARE(rs.value(QStringLiteral("Surname")).toString(), QStringLiteral("Surname of ") + lands);
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(countInTable(QStringLiteral("Student")), 3);
    QCOMPARE(surname(QStringLiteral("2")), QStringLiteral("Surname of 2"));
}

void TestRecordset::deleteAndMove_data()
{
    QTest::addColumn<QString>("victim");
    QTest::addColumn<QChar>("step");
    QTest::addColumn<QString>("lands");
    QTest::newRow("first, next") << "1" << QChar(u'N') << "2";
    QTest::newRow("middle, previous") << "2" << QChar(u'P') << "1";
    QTest::newRow("last, next") << "3" << QChar(u'N') << "EOF";
    QTest::newRow("last, previous") << "3" << QChar(u'P') << "2";
    QTest::newRow("first, previous") << "1" << QChar(u'P') << "BOF";
}

void TestRecordset::deleteAndMove()
{
    Recordset rs;
    QFETCH(QString, victim);
    QFETCH(QChar, step);
    QFETCH(QString, lands);
    addStudents({"1", "2", "3"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(rs.find(QStringLiteral("Number"), victim));
    QVERIFY2(rs.deleteCurrent(), qPrintable(rs.lastError()));
    QCOMPARE(where(rs), QStringLiteral("gap"));
    QVERIFY(!rs.value(QStringLiteral("Number")).isValid());
    QCOMPARE(rs.recordCount(), 2);
    QVERIFY(!stored(victim, "Number").isValid());
    move(rs, step);
    QCOMPARE(where(rs), lands);
    rs.moveFirst();
    QVERIFY(!rs.find(QStringLiteral("Number"), victim));
}

void TestRecordset::emptyTable()
{
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(!rs.setValue(QStringLiteral("Surname"), QStringLiteral("Nobody")));
    QVERIFY(!rs.update());
    QVERIFY(!rs.deleteCurrent());
    QVERIFY(!rs.lastError().isEmpty());
    QCOMPARE(countInTable(QStringLiteral("Student")), 0);
    // A first row, then deleting it empties the table again.
    QVERIFY(rs.addNew());
    QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("1")));
    QVERIFY(rs.update());
    rs.moveNext();
    QCOMPARE(where(rs), QStringLiteral("EOF"));
    rs.moveFirst();
    QCOMPARE(where(rs), QStringLiteral("1"));
    QVERIFY(rs.deleteCurrent());
    QVERIFY(!rs.deleteCurrent()); // nothing left under the cursor
    rs.moveNext();
    QCOMPARE(where(rs), QStringLiteral("BOF+EOF"));
    QCOMPARE(rs.recordCount(), 0);
    QCOMPARE(countInTable(QStringLiteral("Student")), 0);
}

void TestRecordset::rowGoneBehindCursor()
{
    Recordset rs;
    addStudents({"1", "2"});
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("DELETE FROM Student WHERE Number = '2'")));
    // The row's place is kept, but nothing of the row before it is shown there.
    rs.moveNext();
    QVERIFY(!rs.hasCurrentRow());
    QVERIFY(!rs.value(QStringLiteral("Surname")).isValid());
    QVERIFY(!rs.setValue(QStringLiteral("Surname"), QStringLiteral("Ghost")));
    QVERIFY(!rs.update());
    QCOMPARE(countInTable(QStringLiteral("Student")), 1);
    rs.movePrevious();
    QCOMPARE(where(rs), QStringLiteral("1"));
}

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
