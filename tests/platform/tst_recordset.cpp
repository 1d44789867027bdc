#include "TestProgram.h"
#include "platform/Recordset.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <array>

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

    void schemaRules();
    void opensOnlyListedTables();
    void navigation();
    void keysetInRowidOrder();
    void findThenRefusedStores();

private:
    QSqlDatabase db() const { return m_program->state->db(); }

    // The table in row order, "Number:Surname:Other_Names:Debt" a row, "-" for null.
    QString table()
    {
        QSqlQuery q("SELECT group_concat(Number || ':' || Surname || ':' || ifnull(Other_Names, "
                    "'-') || ':' || ifnull(Debt_From_Last_Term, '-'), ' ') FROM (SELECT * FROM "
                    "Student ORDER BY rowid)",
                    db());
        return q.next() ? q.value(0).toString() : q.lastError().text();
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

// The delivered schema, made by the build. Each statement gives its first value,
// "" when it gives none, or the engine's refusal.
void TestRecordset::schemaRules()
{
    QList<std::pair<QString, QString>> rules = {
        // Numbers are compared without letter case, in finds as in keys.
        {"INSERT INTO Staff (Number) VALUES ('st-07a'), ('ST-07A')",
         "refused: UNIQUE constraint failed: Staff.Number"},
        // Fees can be revised and billed from the first run: every level, every fee 0.
        {"SELECT count(*) || ' ' || min(Class_Level) || ' ' || max(Class_Level) FROM Fees",
         "19 KinderGarten1 Secondary8"},
        {"SELECT count(*) FROM pragma_table_info('Fees') WHERE "
         "\"notnull\" AND dflt_value = '0' AND type = 'REAL'",
         "20"}};
    // The transfer to the former tables copies positionally: same names, types, order.
    // A number sent to the alumni twice keeps both rows.
    const QString columns =
        QStringLiteral("(SELECT group_concat(name || ' ' || type) FROM pragma_table_info('%1'))");
    for (const QString live : {"Student", "Staff"}) {
        rules.append(
            {QStringLiteral("SELECT %1 = %2").arg(columns.arg(live), columns.arg("Former" + live)),
             "1"});
        rules.append(
            {QStringLiteral("INSERT INTO Former%1 (Number) VALUES ('S1'), ('S1')").arg(live), ""});
    }
    const QList<std::array<QString, 3>> money = {{"Student", "Number", "Amount_Payable"},
                                                 {"Staff", "Number", "Monthly_Salary"},
                                                 {"Stock", "Number", "Last_Purchase_Price"},
                                                 {"Fees", "Class_Level", "Tuition"}};
    for (const auto &[table, key, column] : money)
        rules.append({QStringLiteral("INSERT INTO %1 (%2, %3) VALUES ('T-1', '12abc')")
                          .arg(table, key, column),
                      "refused: cannot store TEXT value in REAL column " + table + u'.' + column});
    for (const auto &[statement, outcome] : std::as_const(rules)) {
        QSqlQuery q(db());
        const QString got = q.exec(statement) ? (q.next() ? q.value(0).toString() : "")
                                              : "refused: " + q.lastError().databaseText();
        QVERIFY2(got == outcome, qPrintable(statement + " gives " + got));
    }
}

// A name the database lists, letter case aside, and nothing else.
void TestRecordset::opensOnlyListedTables()
{
    const QList<std::pair<QString, QString>> names = {{"Stock", "Stock"},
                                                      {"fORMERstaff", "FormerStaff"},
                                                      {"Staff; DROP TABLE Stock", ""},
                                                      {"sqlite_master", ""}};
    for (const auto &[name, opened] : names) {
        Recordset rs;
        QVERIFY2(rs.open(db(), name) == !opened.isEmpty(), qPrintable(name));
        QCOMPARE(rs.tableName(), opened);
        QVERIFY2(rs.lastError().isEmpty() == !opened.isEmpty(), qPrintable(name));
        QCOMPARE(rs.columnNames().size(), db().record(opened).count());
    }
    QVERIFY(db().tables().contains("Stock"));
}

// Steps: F, L, N, P the moves; X a find that fails; W a new row stored, numbered
// on from the last stored; D delete; E edit and A a new row (both typing Number 9);
// C cancel; G row 7 deleted behind the cursor's back; d, s, u a delete, change,
// store refused. Each trace is where the cursor stands after each step.
void TestRecordset::navigation()
{
    Recordset rs;
    QVERIFY(rs.open(db(), "Student"));
    int stored = 0;
    const QHash<QChar, void (Recordset::*)()> moves = {{u'F', &Recordset::moveFirst},
                                                       {u'L', &Recordset::moveLast},
                                                       {u'N', &Recordset::moveNext},
                                                       {u'P', &Recordset::movePrevious},
                                                       {u'C', &Recordset::cancelUpdate}};
    const auto type = [&rs](const QString &number, const QString &surname) {
        return rs.setValue("Number", number) && rs.setValue("Surname", surname);
    };
    const QHash<QChar, std::function<bool()>> act = {
        {u'X', [&rs] { return !rs.find("Number", "9"); }},
        {u'D', [&rs] { return rs.deleteCurrent(); }},
        {u'd', [&rs] { return !rs.deleteCurrent() && !rs.lastError().isEmpty(); }},
        {u's', [&rs] { return !rs.setValue("Surname", "Ghost"); }},
        {u'u', [&rs] { return !rs.update(); }},
        {u'G', [this] { return QSqlQuery(db()).exec("DELETE FROM Student WHERE Number = '7'"); }},
        {u'W',
         [&] {
             const QString n = QString::number(++stored);
             return rs.addNew() && type(n, "Surname of " + n) && rs.update();
         }},
        {u'A', [&rs, type] { return rs.addNew() && type("9", "Changed"); }},
        {u'E', [type] { return type("9", "Changed"); }}};
    const QList<std::pair<QString, QString>> walk = {
        // Nothing moves or changes where there is no row.
        {"FLNPsud", "BOF+EOF BOF+EOF BOF+EOF BOF+EOF BOF+EOF BOF+EOF BOF+EOF"},
        // Past an end stops on the marker; from a marker each move comes back in.
        {"WNNPPPNLF", "1 EOF EOF 1 BOF BOF 1 1 1"},
        {"DdN", "gap gap BOF+EOF"},
        {"WWWFNNNNPLPPPPNPLNFPL", "2 3 4 2 3 4 EOF EOF 4 4 3 2 BOF BOF 2 BOF 4 EOF 2 BOF 4"},
        // A failed find stands after the last row, whatever row it stood on.
        {"FNXNFXP", "2 3 EOF EOF 2 EOF 4"},
        // An edit or a started row that was not written is dropped, by Cancel or a move.
        {"FECACENAN", "2 9 2 9 2 9 3 9 4"},
        // Deleting leaves the cursor in the gap the row left: first, middle, last.
        {"WWFDNDPNNDPLDN", "5 6 2 gap 3 gap BOF 4 5 gap 4 6 gap EOF"},
        // Where a row went behind the cursor's back there is nothing to change.
        {"WFGNsuP", "7 4 4 gap gap gap 4"}};
    for (const auto &[steps, trace] : walk) {
        QStringList seen;
        for (QChar step : steps) {
            if (moves.contains(step))
                (rs.*moves.value(step))();
            else
                QVERIFY2(act.value(step)(),
                         qPrintable(QStringLiteral("step %1: %2").arg(step).arg(rs.lastError())));
            seen.append(where(rs));
        }
        QVERIFY2(seen.join(u' ') == trace, qPrintable(steps + ": " + seen.join(u' ')));
        QCOMPARE(rs.editMode(), Recordset::EditMode::None);
    }
    // A row deleted behind the cursor's back keeps its place in the keyset; no
    // dropped edit was written.
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(table(), "4:Surname of 4:-:-");
}

// The keys come from an index and are sorted afterwards: the rows must still
// come in rowid order, with gaps and deleted rows, whatever the index's order:
// a unique number, a repeated number, an integer key of dates. Each row's tag
// column holds its rowid, so the cursor tells which row it shows.
void TestRecordset::keysetInRowidOrder()
{
    const QList<std::array<QString, 3>> tables = {
        {"Student", "Number", "Surname"},
        {"FormerStudent", "Number", "Surname"},
        {"Accounts", "Date_Of_Transaction", "Good_Or_Service"}};
    for (const auto &[table, key, tag] : tables) {
        // Rowids with gaps and keys that sort against them; FormerStudent repeats one.
        const QString last = table == "FormerStudent" ? "a" : "k";
        QSqlQuery q(db());
        QVERIFY2(q.exec(QStringLiteral(
                            "INSERT INTO %1 (rowid, %2, %3) VALUES (7, 'b', '7'), (3, 'z', '3'), "
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
        QVERIFY2(seen == (QStringList{"3", "5", "7", "40", "41"}),
                 qPrintable(table + ": " + seen.join(u' ')));
    }
}

// Finds compare bound values as the column compares, from the first row on; the
// found row reads as stored: a null stays null, an empty text is a value. A
// refused store (in the engine's words) leaves the edit under way with what was
// typed and the table as it was; once mended, the store goes through, touches no
// other row and re-reads the row as stored.
void TestRecordset::findThenRefusedStores()
{
    // AX1 comes first in row order, so a pattern match on A_1 would stop there.
    QSqlQuery q(db());
    QVERIFY(q.exec("INSERT INTO Student (Number, Surname, Other_Names) VALUES ('AX1', 'Ax', ''), "
                   "('2003/045', 'Eze', ''), ('50%off', 'Obi', ''), ('A_1', 'Ade', ''), "
                   "('Z', 'Surname of Z', '')"));
    Recordset rs;
    QVERIFY(rs.open(db(), "Student"));
    const QList<std::pair<QString, QString>> finds = {
        {"Number", "50%OFF"},       {"Number", "50%"},          {"Number", "a_1"},
        {"Number", "x' OR '1'='1"}, {"Number", " 2003/045"},    {"Number", ""},
        {"Number = 'Z' OR 1", "Z"}, {"surname", "SURNAME OF z"}};
    QStringList seen;
    for (const auto &[field, wanted] : finds) {
        rs.moveLast();
        const bool found = rs.find(field, wanted);
        seen.append((found ? "found " : "none ") + where(rs));
    }
    QCOMPARE(seen, (QStringList{"found 50%off", "none EOF", "found A_1", "none EOF", "none EOF",
                                "none EOF", "none EOF", "found Z"}));
    QVERIFY(rs.value("Address").isValid());
    QVERIFY(rs.value("Address").isNull());
    QCOMPARE(rs.value("Other_Names"), QVariant(QString()));
    QVERIFY(!rs.value("Other_Names").isNull());
    QVERIFY(!rs.value("NoSuchField").isValid());

    QString stored = table();
    const auto refused = [&](Recordset::EditMode mode, const char *field, const QVariant &value,
                             const char *words) {
        return rs.setValue(field, value) && !rs.update() && rs.lastError().contains(words) &&
               rs.editMode() == mode && rs.value(field) == value &&
               rs.value("Surname") == QVariant("Typed") && rs.recordCount() == 5 &&
               table() == stored;
    };
    using Mode = Recordset::EditMode;
    QVERIFY(rs.setValue("Surname", "Typed"));
    QVERIFY2(refused(Mode::Editing, "Debt_From_Last_Term", "lots", "REAL"),
             qPrintable(rs.lastError()));
    QVERIFY(rs.setValue("Debt_From_Last_Term", "20.5")); // money as the text typed
    QVERIFY2(refused(Mode::Editing, "Number", "A_1", "UNIQUE"), qPrintable(rs.lastError()));
    QVERIFY(rs.setValue("Number", "Z2"));
    QVERIFY(rs.setValue("Other_Names", QVariant()));
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(rs.editMode(), Mode::None);
    QCOMPARE(table(), stored.replace("Z:Surname of Z::-", "Z2:Typed:-:20.5"));
    QCOMPARE(where(rs), "Z2");
    QCOMPARE(rs.value("Debt_From_Last_Term"), QVariant(20.5));

    QVERIFY(rs.addNew());
    for (const QString &column : rs.columnNames())
        QVERIFY2(rs.value(column).isNull(), qPrintable(column));
    QVERIFY(rs.setValue("Surname", "Typed"));
    QVERIFY2(refused(Mode::Adding, "Other_Names", "Nobody", "NOT NULL"),
             qPrintable(rs.lastError()));
    // The database may grow no further, as on a full disk.
    QVERIFY(q.exec("PRAGMA max_page_count = 1"));
    QVERIFY2(refused(Mode::Adding, "Number", QString(20000, u'9'), "The disk is full"),
             qPrintable(rs.lastError()));
    QVERIFY(q.exec("PRAGMA max_page_count = 100000"));
    QVERIFY(rs.setValue("Number", "S4"));
    QVERIFY2(rs.update(), qPrintable(rs.lastError()));
    QCOMPARE(table(), stored + " S4:Typed:Nobody:-");
    // A new row joins the keyset at the end of row order.
    QCOMPARE(rs.recordCount(), 6);
    rs.movePrevious();
    QCOMPARE(where(rs), "Z2");
}

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
