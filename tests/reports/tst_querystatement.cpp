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
    for (const char *column : {"table", "marked", "sorts", "statement", "values", "rows"})
        QTest::addColumn<QString>(column);
    QFile cases(QStringLiteral(KOLVANE_TEST_DATA "/statements.tsv"));
    QVERIFY(cases.open(QIODevice::ReadOnly | QIODevice::Text));
    for (const QString &line :
         QString::fromUtf8(cases.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (!line.startsWith(u'#') && f.size() == 7)
            QTest::newRow(qPrintable(f.at(0)))
                << f.at(1) << f.at(2) << f.at(3) << f.at(4) << f.at(5) << f.at(6);
        else
            QVERIFY2(line.startsWith(u'#'), qPrintable("not a case: " + line));
    }
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

// Photos and remarks are no sort keys. (The remarks offered by the grant: the
// walks of tst_queryreport.)
void TestQueryStatement::fieldLists()
{
    QCOMPARE(QueryStatement::sortFields({"Number", "Picture", "Surname", "Remarks"}),
             (QStringList{"Number", "Surname"}));
}

QTEST_GUILESS_MAIN(TestQueryStatement)
#include "tst_querystatement.moc"
