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
    void columnsInTableOrder();
    void navigation_data();
    void navigation();
    void find_data();
    void find();
    void findMissingThenMove_data();
    void findMissingThenMove();
    void findReachesFirstInRowOrder();
    void findUnknownField();
    void nullFieldsStayNull();
    void addNewInserts();
    void updateFails_data();
    void updateFails();
    void updateExistingRow();
    void cancelUpdate();
    void moveDropsUnwrittenEdit();
    void deleteAndMove_data();
    void deleteAndMove();
    void deleteOnlyRow();
    void noRowNoEdit();
    void rowGoneBehindCursor();

private:
    QSqlDatabase db() const { return m_program->state->db(); }
    void addStudent(const QString &number, const QString &surname = QString());
    int countInTable(const QString &table);
    QVariant stored(const QString &number, const QString &field);
    // Where the cursor stands: "BOF", "EOF", "BOF+EOF", "gap" or the row's Number.
    static QString where(const Recordset &rs);
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

void TestRecordset::addStudent(const QString &number, const QString &surname)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES (?, ?)"));
    q.addBindValue(number);
    q.addBindValue(surname.isNull() ? QStringLiteral("Surname of ") + number : surname);
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
}

int TestRecordset::countInTable(const QString &table)
{
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("SELECT count(*) FROM ") + table) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QVariant TestRecordset::stored(const QString &number, const QString &field)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT ") + field + QStringLiteral(" FROM Student WHERE Number = ?"));
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
    default:
        QFAIL("unknown step");
    }
}

void TestRecordset::opensOnlyListedTables_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("opened");
    QTest::newRow("student") << "Student"
                             << "Student";
    QTest::newRow("letter case") << "fORMERstaff"
                                 << "FormerStaff";
    QTest::newRow("unknown") << "Pupils"
                             << "";
    QTest::newRow("statement") << "Staff; DROP TABLE Stock"
                               << "";
    QTest::newRow("quoted") << "\"Staff\""
                            << "";
    QTest::newRow("catalogue") << "sqlite_master"
                               << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestRecordset::opensOnlyListedTables()
{
    QFETCH(QString, name);
    QFETCH(QString, opened);
    Recordset rs;
    QCOMPARE(rs.open(db(), name), !opened.isEmpty());
    QCOMPARE(rs.isOpen(), !opened.isEmpty());
    QCOMPARE(rs.tableName(), opened);
    QCOMPARE(rs.lastError().isEmpty(), !opened.isEmpty());
    QVERIFY(db().tables().contains(QStringLiteral("Stock")));
}

void TestRecordset::columnsInTableOrder()
{
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Stock")));
    const QSqlRecord record = db().record(QStringLiteral("Stock"));
    QCOMPARE(rs.columnNames().size(), record.count());
    for (int i = 0; i < record.count(); ++i)
        QCOMPARE(rs.columnNames().at(i), record.fieldName(i));
    QCOMPARE(rs.columnNames().first(), QStringLiteral("Number"));
    QCOMPARE(rs.columnNames().last(), QStringLiteral("Date_Last_Updated"));
}

void TestRecordset::navigation_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << 0 << "FLNPNP"
                           << QStringList{"BOF+EOF", "BOF+EOF", "BOF+EOF", "BOF+EOF",
                                          "BOF+EOF", "BOF+EOF", "BOF+EOF"};
    QTest::newRow("one row") << 1 << "NNPPPNLF"
                             << QStringList{"1", "EOF", "EOF", "1", "BOF", "BOF", "1", "1", "1"};
    QTest::newRow("three forward") << 3 << "NNNNP" << QStringList{"1", "2", "3", "EOF", "EOF", "3"};
    QTest::newRow("three backward")
        << 3 << "LPPPPN" << QStringList{"1", "3", "2", "1", "BOF", "BOF", "1"};
    QTest::newRow("ends from markers")
        << 3 << "PLNFPL" << QStringList{"1", "BOF", "3", "EOF", "1", "BOF", "3"};
}

void TestRecordset::navigation()
{
    QFETCH(int, rows);
    QFETCH(QString, steps);
    QFETCH(QStringList, expected);
    for (int i = 1; i <= rows; ++i)
        addStudent(QString::number(i));
    Recordset rs;
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
    QTest::newRow("quote") << "O'Brien-1"
                           << "O'Brien-1";
    QTest::newRow("quote, other case") << "o'BRIEN-1"
                                       << "O'Brien-1";
    QTest::newRow("percent") << "50%off"
                             << "50%off";
    QTest::newRow("percent is no wildcard") << "50%"
                                            << "";
    QTest::newRow("underscore") << "a_1"
                                << "A_1";
    QTest::newRow("letter case") << "abc-7"
                                 << "ABC-7";
    QTest::newRow("injection") << "x' OR '1'='1"
                               << "";
    QTest::newRow("blanks are kept") << " 2003/045"
                                     << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestRecordset::find()
{
    QFETCH(QString, wanted);
    QFETCH(QString, found);
    // AX1 comes first in row order, so a pattern match on A_1 would stop there.
    for (const char *n : {"AX1", "2003/045", "O'Brien-1", "50%off", "A_1", "ABC-7", "Z"})
        addStudent(QString::fromLatin1(n));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveLast();
    QCOMPARE(rs.find(QStringLiteral("Number"), wanted), !found.isEmpty());
    QCOMPARE(where(rs), found.isEmpty() ? QStringLiteral("EOF") : found);
    QCOMPARE(rs.recordCount(), 7);
}

void TestRecordset::findMissingThenMove_data()
{
    QTest::addColumn<QChar>("step");
    QTest::addColumn<QString>("lands");
    // The record form's Next clamps a move past the end to the last row.
    QTest::newRow("next") << QChar(u'N') << "EOF";
    QTest::newRow("previous") << QChar(u'P') << "3";
    QTest::newRow("last") << QChar(u'L') << "3";
}

void TestRecordset::findMissingThenMove()
{
    QFETCH(QChar, step);
    QFETCH(QString, lands);
    for (const char *n : {"1", "2", "3"})
        addStudent(QString::fromLatin1(n));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QCOMPARE(where(rs), QStringLiteral("1"));
    QVERIFY(!rs.find(QStringLiteral("Number"), QStringLiteral("9")));
    // Stands after the last row, not on the row it started from.
    QVERIFY(rs.eof());
    QVERIFY(!rs.hasCurrentRow());
    move(rs, step);
    QCOMPARE(where(rs), lands);
}

void TestRecordset::findReachesFirstInRowOrder()
{
    addStudent(QStringLiteral("1"), QStringLiteral("Bello"));
    addStudent(QStringLiteral("2"), QStringLiteral("Okafor"));
    addStudent(QStringLiteral("3"), QStringLiteral("OKAFOR"));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveLast();
    QVERIFY(rs.find(QStringLiteral("surname"), QStringLiteral("okafor")));
    QCOMPARE(where(rs), QStringLiteral("2"));
}

void TestRecordset::findUnknownField()
{
    addStudent(QStringLiteral("1"));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(!rs.find(QStringLiteral("Number = '1' OR 1"), QStringLiteral("1")));
    QVERIFY(!rs.lastError().isEmpty());
    QVERIFY(rs.eof());
}

void TestRecordset::nullFieldsStayNull()
{
    QSqlQuery q(db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, Debt_From_Last_Term) "
                                  "VALUES ('7', '', 1500.5)")));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    const QVariant address = rs.value(QStringLiteral("Address"));
    QVERIFY(address.isValid());
    QVERIFY(address.isNull());
    QVERIFY(rs.value(QStringLiteral("Amount_Payable")).isNull());
    // An empty text is a value, not a null.
    QVERIFY(!rs.value(QStringLiteral("Surname")).isNull());
    QCOMPARE(rs.value(QStringLiteral("Surname")).toString(), QString());
    QCOMPARE(rs.value(QStringLiteral("Debt_From_Last_Term")).toDouble(), 1500.5);
    QVERIFY(!rs.value(QStringLiteral("NoSuchField")).isValid());

    // Writing a null back keeps it null in the table.
    QVERIFY(rs.setValue(QStringLiteral("Debt_From_Last_Term"), QVariant()));
    QVERIFY(rs.update());
    QVERIFY(stored(QStringLiteral("7"), QStringLiteral("Debt_From_Last_Term")).isNull());
    QVERIFY(rs.value(QStringLiteral("Debt_From_Last_Term")).isNull());
}

void TestRecordset::addNewInserts()
{
    addStudent(QStringLiteral("1"));
    addStudent(QStringLiteral("2"));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(rs.addNew());
    QCOMPARE(rs.editMode(), Recordset::EditMode::Adding);
    QVERIFY(!rs.bof() && !rs.eof());
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
    QCOMPARE(countInTable(QStringLiteral("Student")), 3);
    QCOMPARE(where(rs), QStringLiteral("2003/045"));
    QCOMPARE(rs.value(QStringLiteral("Debt_From_Last_Term")), QVariant(1500.5));
    QCOMPARE(stored(QStringLiteral("2003/045"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Adeyemi"));
    // It joined the keyset at the end of row order.
    rs.movePrevious();
    QCOMPARE(where(rs), QStringLiteral("2"));
    rs.moveLast();
    QCOMPARE(where(rs), QStringLiteral("2003/045"));
    rs.moveFirst();
    QVERIFY(rs.find(QStringLiteral("Number"), QStringLiteral("2003/045")));
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
    QFETCH(bool, adding);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    addStudent(QStringLiteral("S1"), QStringLiteral("Bello"));
    addStudent(QStringLiteral("S2"), QStringLiteral("Okafor"));
    Recordset rs;
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
    QCOMPARE(stored(QStringLiteral("S1"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Bello"));

    // The operator mends the field and stores again.
    if (field == QLatin1String("Number") || adding)
        QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("S3")));
    else
        QVERIFY(rs.setValue(field, QStringLiteral("20")));
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(rs.recordCount(), adding ? 3 : 2);
}

void TestRecordset::updateExistingRow()
{
    for (const char *n : {"1", "2", "3"})
        addStudent(QString::fromLatin1(n));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveNext();
    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Nwosu")));
    QVERIFY(rs.setValue(QStringLiteral("Percentage_Last_Term"), QStringLiteral("67")));
    QVERIFY(rs.setValue(QStringLiteral("Remarks"), QStringLiteral("Line one\r\nLine two")));
    QCOMPARE(rs.editMode(), Recordset::EditMode::Editing);
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(where(rs), QStringLiteral("2"));
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(stored(QStringLiteral("2"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Nwosu"));
    QCOMPARE(rs.value(QStringLiteral("Percentage_Last_Term")), QVariant(67.0));
    QCOMPARE(stored(QStringLiteral("2"), QStringLiteral("Remarks")).toString(),
             QStringLiteral("Line one\r\nLine two"));
    // Neighbours untouched.
    QCOMPARE(stored(QStringLiteral("1"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Surname of 1"));
    QCOMPARE(stored(QStringLiteral("3"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Surname of 3"));
    // Nothing changed: storing again is harmless.
    QVERIFY(rs.update());
}

void TestRecordset::cancelUpdate()
{
    for (const char *n : {"1", "2", "3"})
        addStudent(QString::fromLatin1(n));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    rs.moveNext();

    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Changed")));
    rs.cancelUpdate();
    QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    QCOMPARE(rs.value(QStringLiteral("Surname")).toString(), QStringLiteral("Surname of 2"));

    QVERIFY(rs.addNew());
    QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("4")));
    rs.cancelUpdate();
    QCOMPARE(where(rs), QStringLiteral("2"));
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(countInTable(QStringLiteral("Student")), 3);
    QCOMPARE(stored(QStringLiteral("2"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Surname of 2"));
    rs.moveNext();
    QCOMPARE(where(rs), QStringLiteral("3"));
}

void TestRecordset::moveDropsUnwrittenEdit()
{
    addStudent(QStringLiteral("1"));
    addStudent(QStringLiteral("2"));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(rs.setValue(QStringLiteral("Surname"), QStringLiteral("Changed")));
    rs.moveNext();
    rs.movePrevious();
    QCOMPARE(rs.value(QStringLiteral("Surname")).toString(), QStringLiteral("Surname of 1"));
    QCOMPARE(stored(QStringLiteral("1"), QStringLiteral("Surname")).toString(),
             QStringLiteral("Surname of 1"));
    // A started row is dropped by a move as well.
    QVERIFY(rs.addNew());
    QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("3")));
    rs.moveNext();
    QCOMPARE(where(rs), QStringLiteral("2"));
    QCOMPARE(countInTable(QStringLiteral("Student")), 2);
}

void TestRecordset::deleteAndMove_data()
{
    QTest::addColumn<QString>("victim");
    QTest::addColumn<QChar>("step");
    QTest::addColumn<QString>("lands");
    QTest::newRow("first, next") << "1" << QChar(u'N') << "2";
    QTest::newRow("middle, next") << "2" << QChar(u'N') << "3";
    QTest::newRow("middle, previous") << "2" << QChar(u'P') << "1";
    QTest::newRow("last, next") << "3" << QChar(u'N') << "EOF";
    QTest::newRow("last, previous") << "3" << QChar(u'P') << "2";
    QTest::newRow("first, previous") << "1" << QChar(u'P') << "BOF";
}

void TestRecordset::deleteAndMove()
{
    QFETCH(QString, victim);
    QFETCH(QChar, step);
    QFETCH(QString, lands);
    for (const char *n : {"1", "2", "3"})
        addStudent(QString::fromLatin1(n));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(rs.find(QStringLiteral("Number"), victim));
    QVERIFY2(rs.deleteCurrent(), qPrintable(rs.lastError()));
    QCOMPARE(where(rs), QStringLiteral("gap"));
    QVERIFY(!rs.value(QStringLiteral("Number")).isValid());
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(countInTable(QStringLiteral("Student")), 2);
    QVERIFY(!stored(victim, QStringLiteral("Number")).isValid());
    move(rs, step);
    QCOMPARE(where(rs), lands);
    rs.moveFirst();
    QVERIFY(!rs.find(QStringLiteral("Number"), victim));
}

void TestRecordset::deleteOnlyRow()
{
    addStudent(QStringLiteral("1"));
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(rs.deleteCurrent());
    QVERIFY(!rs.deleteCurrent()); // nothing left under the cursor
    QCOMPARE(rs.recordCount(), 0);
    rs.moveNext();
    QCOMPARE(where(rs), QStringLiteral("BOF+EOF"));
    rs.moveFirst();
    QCOMPARE(where(rs), QStringLiteral("BOF+EOF"));
    QCOMPARE(countInTable(QStringLiteral("Student")), 0);
}

void TestRecordset::noRowNoEdit()
{
    Recordset rs;
    QVERIFY(rs.open(db(), QStringLiteral("Student")));
    QVERIFY(!rs.setValue(QStringLiteral("Surname"), QStringLiteral("Nobody")));
    QVERIFY(!rs.update());
    QVERIFY(!rs.deleteCurrent());
    QVERIFY(!rs.lastError().isEmpty());
    QCOMPARE(countInTable(QStringLiteral("Student")), 0);
    // A first row in an empty table.
    QVERIFY(rs.addNew());
    QVERIFY(rs.setValue(QStringLiteral("Number"), QStringLiteral("1")));
    QVERIFY(rs.update());
    QCOMPARE(where(rs), QStringLiteral("1"));
    rs.moveNext();
    QCOMPARE(where(rs), QStringLiteral("EOF"));
    rs.moveFirst();
    QCOMPARE(where(rs), QStringLiteral("1"));
}

void TestRecordset::rowGoneBehindCursor()
{
    addStudent(QStringLiteral("1"));
    addStudent(QStringLiteral("2"));
    Recordset rs;
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
