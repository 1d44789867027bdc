#include "SmallSchool.h"
#include "TestProgram.h"
#include "reports/QueryStatement.h"

#include <QTest>

class TestQueryStatement : public QObject
{
    Q_OBJECT
private slots:
    void statementValuesAndRows_data();
    void statementValuesAndRows();
    void fieldLists();
};

void TestQueryStatement::statementValuesAndRows_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("marked"); // row:operator:value;...
    QTest::addColumn<QString>("sorts");
    QTest::addColumn<QString>("statement"); // empty: not compared
    QTest::addColumn<QString>("values");    // numbers bound as numbers show as #
    QTest::addColumn<QString>("rows");      // Numbers in the statement's order
    auto add = [](const char *name, const char *table, const char *marked, const char *sorts,
                  const char *statement, const char *values, const char *rows) {
        QTest::newRow(name) << table << marked << sorts << statement << values << rows;
    };
    const char *n = "Number,Number,Number";
    add("like and a level, three keys", "Student", "1:like:Ad;9:=:Primary1",
        "Number,Surname,Other_Names",
        "SELECT * FROM Student WHERE   [Surname]  like ? AND [Class_Level]  = ? ORDER BY "
        "[Number],[Surname],[Other_Names]",
        "%Ad%|Primary1", "S001,S002");
    add("a quote, any letter case, one key", "Student", "1:=:o'brien", n,
        "SELECT * FROM Student WHERE   [Surname]  = ? ORDER BY [Number]", "o'brien", "S003");
    add("Number between blanks", "Student", "0:=:  S002  ", n, "", "S002", "S002");
    add("underscore is plain under =", "Student", "2:=:Ann_Marie", n, "", "Ann_Marie", "S004");
    add("percent is plain under =", "Student", "3:=:100% Lane", n, "", "100% Lane", "S001");
    add("like keeps its wildcards", "Student", "2:like:Ann_M", n, "", "%Ann_M%", "S004,S005");
    add("number row, third key as first", "Student", "13:>=: 5000 ",
        "Amount_Payable,Number,Amount_Payable",
        "SELECT * FROM Student WHERE   [Amount_Payable]  >= ? ORDER BY [Amount_Payable],[Number]",
        "#5000", "S001,S002");
    add("date row", "Student", "6:<=:2012-03-04", n, "", "2012-03-04", "S001,S002,S004");
    add("pick lists, last two keys alike", "Student", "4:=:Female;10:=:Blue", "Surname,Sex,Sex",
        "SELECT * FROM Student WHERE   [Sex]  = ? AND [Class_Arm]  = ? ORDER BY "
        "[Surname],[Sex],[Sex]",
        "Female|Blue", "S001,S003,S005");
    add("marked empty text row", "Student", "1:=:", n, "", "", "");
    add("marked empty like row", "Student", "3:like:  ", n, "", "%%", "S001,S002,S003,S004");
    add("marked empty number row", "Student", "13:>=:", n, "", "#0", "S001,S002,S003,S004");
    add("whole table, second key as first", "Student", "", "Surname,Surname,Number",
        "SELECT * FROM Student ORDER BY [Surname],[Number]", "", "S001,S002,S004,S003,S005");
    add("letter case counts in keys", "Stock", "", "Number,number,NUMBER",
        "SELECT * FROM Stock ORDER BY [Number],[number],[NUMBER]", "", "K1,K2");
    add("stock number and price", "Stock", "27:=:k1;22:<=:100", n,
        "SELECT * FROM Stock WHERE   [Number]  = ? AND [Last_Purchase_Price]  <= ? ORDER BY "
        "[Number]",
        "k1|#100", "K1");
    add("staff salary and speciality", "Staff", "30:>=:45000;31:like:math", n, "", "#45000|%math%",
        "T01");
}

// Each statement runs on the small school: what it finds, in its order, and
// the engine's count of it.
void TestQueryStatement::statementValuesAndRows()
{
    QFETCH(QString, table);
    QFETCH(QString, marked);
    QFETCH(QString, sorts);
    QFETCH(QString, statement);
    QFETCH(QString, values);
    QFETCH(QString, rows);
    TestProgram p;
    p.prepareState();
    fillSmallSchool(p.state->db());

    QList<Criterion> criteria;
    for (const QString &part : marked.split(u';', Qt::SkipEmptyParts)) {
        const QStringList f = part.split(u':');
        criteria.append({f.at(0).toInt(), f.at(1), f.at(2)});
    }
    const QStringList s = sorts.split(u',');
    const QString sort = QueryStatement::sortClause(s.at(0), s.at(1), s.at(2));
    const QueryResult r = criteria.isEmpty() ? QueryStatement::whole(table, sort)
                                             : QueryStatement::filtered(table, criteria, sort);
    if (!statement.isEmpty())
        QCOMPARE(r.statement(), statement);
    QStringList bound;
    for (const QVariant &v : r.values())
        bound << (v.typeId() == QMetaType::Double ? u'#' + v.toString() : v.toString());
    QCOMPARE(bound.join(u'|'), values);

    QSqlQuery q = r.run(p.state->db());
    QStringList found;
    while (q.next())
        found << q.value(QStringLiteral("Number")).toString();
    QCOMPARE(found.join(u','), rows);
    QCOMPARE(r.count(p.state->db()), qint64(found.size()));
}

// Photos and remarks are no sort keys; the remarks are offered only with the password.
void TestQueryStatement::fieldLists()
{
    const QStringList columns{"Number", "Picture", "Surname", "Remarks"};
    QCOMPARE(QueryStatement::sortFields(columns), (QStringList{"Number", "Surname"}));
    QCOMPARE(QueryStatement::designerFields(columns, false), columns.mid(0, 3));
    QCOMPARE(QueryStatement::designerFields(columns, true), columns);
}

QTEST_GUILESS_MAIN(TestQueryStatement)
#include "tst_querystatement.moc"
