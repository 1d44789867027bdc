#include "SmallSchool.h"
#include "TestProgram.h"
#include "reports/QueryStatement.h"

#include <QSqlRecord>
#include <QTest>

namespace {

// "1:like:Ad;9:=:Primary1" into criteria.
QList<Criterion> criteria(const QString &text)
{
    QList<Criterion> list;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList f = part.split(u':');
        list.append({f.at(0).toInt(), f.at(1), f.mid(2).join(u':')});
    }
    return list;
}

// Numbers bound as numbers show as #5000.
QString shown(const QVariantList &values)
{
    QStringList list;
    for (const QVariant &v : values)
        list << (v.typeId() == QMetaType::Double ? u'#' + v.toString() : v.toString());
    return list.join(u'|');
}

} // namespace

class TestQueryStatement : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->prepareState();
        fillSmallSchool(p->state->db());
    }
    void cleanup() { p.reset(); }

    void statementValuesAndRows_data();
    void statementValuesAndRows();
    void sortClause_data();
    void sortClause();
    void fieldLists();

private:
    std::unique_ptr<TestProgram> p;
};

void TestQueryStatement::statementValuesAndRows_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("sorts");
    QTest::addColumn<QString>("statement"); // empty: not compared
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("rows"); // Numbers in the order the statement gives them

    const QString n = QStringLiteral("Number,Number,Number");
    QTest::newRow("like and a level")
        << "Student" << "1:like:Ad;9:=:Primary1" << "Number,Surname,Other_Names"
        << "SELECT * FROM Student WHERE   [Surname]  like ? AND [Class_Level]  = ? ORDER BY "
           "[Number],[Surname],[Other_Names]"
        << "%Ad%|Primary1" << "S001,S002";
    QTest::newRow("text =, a quote, any letter case")
        << "Student" << "1:=:o'brien" << n << "SELECT * FROM Student WHERE   [Surname]  = ? ORDER BY [Number]"
        << "o'brien" << "S003";
    QTest::newRow("like with a quote") << "Student" << "1:like:'Br" << n << "" << "%'Br%" << "S003";
    QTest::newRow("Number between blanks") << "Student" << "0:=:  S002  " << n << "" << "S002" << "S002";
    QTest::newRow("underscore is plain under =") << "Student" << "2:=:Ann_Marie" << n << "" << "Ann_Marie" << "S004";
    QTest::newRow("percent is plain under =") << "Student" << "3:=:100% Lane" << n << "" << "100% Lane" << "S001";
    QTest::newRow("like keeps its wildcards") << "Student" << "2:like:Ann_M" << n << "" << "%Ann_M%" << "S004,S005";
    QTest::newRow("number row, two keys")
        << "Student" << "13:>=: 5000 " << "Amount_Payable,Number,Amount_Payable"
        << "SELECT * FROM Student WHERE   [Amount_Payable]  >= ? ORDER BY [Amount_Payable],[Number]"
        << "#5000" << "S001,S002";
    QTest::newRow("number row reads the leading number")
        << "Student" << "13:<=:4999.5 naira" << n << "" << "#4999.5" << "S003,S004";
    QTest::newRow("date row <=") << "Student" << "6:<=:2012-03-04" << n
                                 << "SELECT * FROM Student WHERE   [Birthday]  <= ? ORDER BY [Number]"
                                 << "2012-03-04" << "S001,S002,S004";
    QTest::newRow("date row >=") << "Student" << "6:>=:2012-03-05" << n << "" << "2012-03-05" << "S003,S005";
    QTest::newRow("pick lists, three keys")
        << "Student" << "4:=:Female;10:=:Blue" << "Surname,Class_Level,Other_Names"
        << "SELECT * FROM Student WHERE   [Sex]  = ? AND [Class_Arm]  = ? ORDER BY "
           "[Surname],[Class_Level],[Other_Names]"
        << "Female|Blue" << "S001,S003,S005";
    QTest::newRow("marked empty text row") << "Student" << "1:=:" << n << "" << "" << "";
    QTest::newRow("marked empty like row") << "Student" << "3:like:  " << n << "" << "%%" << "S001,S002,S003,S004";
    QTest::newRow("marked empty number row") << "Student" << "13:>=:" << n << "" << "#0" << "S001,S002,S003,S004";
    QTest::newRow("whole table") << "Student" << "" << "Surname,Number,Surname"
                                 << "SELECT * FROM Student ORDER BY [Surname],[Number]" << ""
                                 << "S001,S002,S004,S003,S005";
    QTest::newRow("stock number and price")
        << "Stock" << "27:=:k1;22:<=:100" << n
        << "SELECT * FROM Stock WHERE   [Number]  = ? AND [Last_Purchase_Price]  <= ? ORDER BY [Number]"
        << "k1|#100" << "K1";
    QTest::newRow("staff salary and speciality")
        << "Staff" << "30:>=:45000;31:like:math" << n << "" << "#45000|%math%" << "T01";
}

// Each statement is run on the small school: what it finds, in its order,
// and the engine's count of it.
void TestQueryStatement::statementValuesAndRows()
{
    QFETCH(QString, table);
    QFETCH(QString, marked);
    QFETCH(QString, sorts);
    QFETCH(QString, statement);
    QFETCH(QString, values);
    QFETCH(QString, rows);
    const QStringList s = sorts.split(u',');
    const QString sort = QueryStatement::sortClause(s.at(0), s.at(1), s.at(2));
    const QueryResult r = marked.isEmpty() ? QueryStatement::whole(table, sort)
                                           : QueryStatement::filtered(table, criteria(marked), sort);
    if (!statement.isEmpty())
        QCOMPARE(r.statement(), statement);
    QCOMPARE(shown(r.values()), values);

    QSqlQuery q = r.run(p->state->db());
    QVERIFY2(q.isActive(), qPrintable(q.lastError().text()));
    QStringList found;
    while (q.next())
        found << q.value(QStringLiteral("Number")).toString();
    QCOMPARE(found.join(u','), rows);
    QCOMPARE(r.count(p->state->db()), qint64(found.size()));
}

void TestQueryStatement::sortClause_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("clause");
    QTest::newRow("all equal") << QStringList{"Number", "Number", "Number"} << " ORDER BY [Number]";
    QTest::newRow("second equal") << QStringList{"Number", "Number", "Sex"} << " ORDER BY [Number],[Sex]";
    QTest::newRow("third equal") << QStringList{"Number", "Surname", "Number"} << " ORDER BY [Number],[Surname]";
    QTest::newRow("last two equal") << QStringList{"Number", "Sex", "Sex"} << " ORDER BY [Number],[Sex],[Sex]";
    QTest::newRow("letter case counts") << QStringList{"Number", "number", "NUMBER"}
                                        << " ORDER BY [Number],[number],[NUMBER]";
}

void TestQueryStatement::sortClause()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, clause);
    QCOMPARE(QueryStatement::sortClause(keys.at(0), keys.at(1), keys.at(2)), clause);
}

void TestQueryStatement::fieldLists()
{
    const QStringList columns = {"Number", "picture", "REMARKS", "Remarks", "Sex"};
    QCOMPARE(QueryStatement::sortFields(columns), (QStringList{"Number", "Sex"}));
    QCOMPARE(QueryStatement::designerFields(columns, false),
             (QStringList{"Number", "picture", "REMARKS", "Sex"}));
    QCOMPARE(QueryStatement::designerFields(columns, true), columns);
}

QTEST_GUILESS_MAIN(TestQueryStatement)
#include "tst_querystatement.moc"
