#include "TestProgram.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <array>

// The delivered database, made from the schema by the build. Each statement runs on
// a fresh copy and gives its first value, "" when it gives none, or the engine's
// refusal.
class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
};

void TestSchema::rules_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("outcome");
    // The transfer to the former tables copies positionally: same names, types, order.
    // A number sent to the alumni twice keeps both rows.
    const QString columns =
        QStringLiteral("(SELECT group_concat(name || ' ' || type) FROM pragma_table_info('%1'))");
    for (const QString live : {"Student", "Staff"}) {
        QTest::addRow("Former%s matches", qPrintable(live))
            << QStringLiteral("SELECT %1 = %2").arg(columns.arg(live), columns.arg("Former" + live))
            << "1";
        QTest::addRow("Former%s keeps a number twice", qPrintable(live))
            << QStringLiteral("INSERT INTO Former%1 (Number) VALUES ('S1'), ('S1')").arg(live)
            << "";
    }
    const QList<std::array<QString, 3>> money = {{"Student", "Number", "Amount_Payable"},
                                                 {"Staff", "Number", "Monthly_Salary"},
                                                 {"Stock", "Number", "Last_Purchase_Price"},
                                                 {"Fees", "Class_Level", "Tuition"}};
    for (const auto &[table, key, column] : money)
        QTest::addRow("%s refuses text", qPrintable(column))
            << QStringLiteral("INSERT INTO %1 (%2, %3) VALUES ('T-1', '12abc')")
                   .arg(table, key, column)
            << "refused: cannot store TEXT value in REAL column " + table + u'.' + column;
    // Numbers are compared without letter case, in finds as in keys.
    QTest::newRow("number unique whatever the case")
        << "INSERT INTO Staff (Number) VALUES ('st-07a'), ('ST-07A')"
        << "refused: UNIQUE constraint failed: Staff.Number";
    // Fees can be revised and billed from the first run: every level, every fee 0.
    QTest::newRow("every level has fees")
        << "SELECT count(*) || ' ' || min(Class_Level) || ' ' || max(Class_Level) FROM Fees"
        << "19 KinderGarten1 Secondary8";
    QTest::newRow("every fee starts at 0")
        << "SELECT count(*) FROM pragma_table_info('Fees') WHERE "
           "\"notnull\" AND dflt_value = '0' AND type = 'REAL'"
        << "20";
}

void TestSchema::rules()
{
    QFETCH(QString, statement);
    QFETCH(QString, outcome);
    TestProgram p;
    p.prepareState();
    QSqlQuery q(p.state->db());
    const bool ran = q.exec(statement);
    QCOMPARE(ran ? (q.next() ? q.value(0).toString() : "")
                 : "refused: " + q.lastError().databaseText(),
             outcome);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
