#include "Modal.h"
#include "SmallSchool.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "reports/QueryReport.h"
#include "reports/ReportForm.h"
#include "records/StudentImport.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlRecord>
#include <QListWidget>
#include <QTableView>
#include <QUrl>

namespace {

void clickItem(QListWidget *list, const QString &text, Qt::KeyboardModifiers keys = {})
{
    QListWidgetItem *item = list->findItems(text, Qt::MatchExactly).value(0);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualItemRect(item).center());
}

} // namespace

// The designer as an operator meets it: from the query form's Display Result,
// without the password, over students with a photo.
class TestReportForm : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->writeTypicalIni();
        p->prepareState();
        p->state->SchoolName = QStringLiteral("Brindlemark College");
        fillSmallSchool(p->state->db());
        QSqlQuery(p->state->db()).exec(QStringLiteral("UPDATE Student SET Picture = 'ann.gif' WHERE Number = 'S001'"));
        QFile gif(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif"));
        QVERIFY(gif.open(QIODevice::ReadOnly));
        p->writeFile(QStringLiteral("Pictures/FrontView/ann.gif"), gif.readAll());
    }
    void cleanup()
    {
        cancelPendingModals();
        p.reset();
    }
    void designFromQuery();
    void spreadsheetRoundTrip();

private:
    std::unique_ptr<TestProgram> p;
};

void TestReportForm::designFromQuery()
{
    p->state->RecordKind = QStringLiteral("Student");
    QueryReport query(*p->state);
    QVERIFY(showActive(&query));
    auto display = [&](std::function<void(QDialog *)> drive) {
        bool driven = false;
        whenModalOpens(QStringLiteral("ReportForm"), [&](QDialog *d) {
            drive(d);
            driven = true;
            click(d, "cmdClose");
        });
        click(&query, "cmdGiveWholeReport(0)");
        click(&query, "cmdDisplayResult");
        QVERIFY(driven);
    };
    const QString report = p->file(QStringLiteral("Reports/class list.htm"));

    display([&](QDialog *d) {
        auto *available = widget<QListWidget>(d, "lstAvailable");
        auto *output = widget<QListWidget>(d, "lstOutput");
        auto *grid = widget<QTableView>(d, "MSHFlexGrid1");
        QAbstractItemModel *model = grid->model();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList columns;
        for (int c = 0; c < model->columnCount(); ++c)
            columns << model->headerData(c, Qt::Horizontal).toString();
        const int remarks = int(columns.indexOf("Remarks")), picture = int(columns.indexOf("Picture"));
        grid->scrollTo(model->index(0, picture), QAbstractItemView::PositionAtCenter);
        grabPng(d);

        // Without the password the remarks are neither offered nor previewed.
        QVERIFY(!lines(available).contains("Remarks"));
        QCOMPARE(available->selectedItems().size(), available->count());
        QCOMPARE(model->rowCount(), 5);
        for (int r = 0; r < 5; ++r)
            QCOMPARE(model->index(r, remarks).data().toString(), QString());
        QVERIFY(!model->index(0, picture).data(Qt::DecorationRole).value<QPixmap>().isNull());

        // A field copied twice is added once; removing with nothing selected,
        // moving the first up or the last down changes nothing.
        clickItem(available, "Surname");
        click(d, "cmdDirection(0)");
        click(d, "cmdDirection(0)");
        clickItem(available, "Number");
        clickItem(available, "Amount_Payable", Qt::ControlModifier);
        click(d, "cmdDirection(0)");
        const QStringList chosen{"Surname", "Number", "Amount_Payable"};
        output->clearSelection();
        click(d, "cmdDirection(1)");
        clickItem(output, "Surname");
        click(d, "cmdMoveUpDown(0)");
        QVERIFY(output->item(0)->isSelected());
        clickItem(output, "Amount_Payable");
        click(d, "cmdMoveUpDown(1)");
        QVERIFY(output->item(2)->isSelected());
        QCOMPARE(lines(output), chosen);
        clickItem(output, "Number");
        click(d, "cmdMoveUpDown(0)");
        QCOMPARE(lines(output), (QStringList{"Number", "Surname", "Amount_Payable"}));

        // Generate with nothing to output only puts the focus on the list.
        output->selectAll();
        click(d, "cmdDirection(1)");
        click(d, "cmdGenerate");
        QCOMPARE(QApplication::focusWidget(), output);
        QVERIFY(QDir(p->file(QStringLiteral("Reports"))).isEmpty());

        available->selectAll();
        available->item(0)->setSelected(false);
        click(d, "cmdDirection(0)");
        click(d, "txtFilename");
        QTest::keyClicks(widget(d, "txtFilename"), QStringLiteral("C:\\Temp\\Class List"));
        click(d, "cmdGenerate");
        QVERIFY(QFile::exists(report));
        QCOMPARE(p->desktop.pages, QStringList{QUrl::fromLocalFile(report).toString(QUrl::FullyEncoded)});
    });

    // The choices outlive Close. A Reports folder gone is said once; nothing
    // is made in its place and no page is opened.
    QVERIFY(QDir(p->file(QStringLiteral("Reports"))).removeRecursively());
    display([&](QDialog *d) {
        QCOMPARE(widget<QListWidget>(d, "lstOutput")->count(), widget<QListWidget>(d, "lstAvailable")->count() - 1);
        click(d, "cmdGenerate");
    });
    QCOMPARE(p->messages.texts(),
             QStringList{QStringLiteral("Could not write the report ") + report + QStringLiteral(" (No such file or directory)")});
    QVERIFY(!QDir(p->file(QStringLiteral("Reports"))).exists());
    QCOMPARE(p->desktop.pages.size(), 1);
}

// The result saved as a spreadsheet, read back by Python's csv module and by
// the program's own import into another school.
void TestReportForm::spreadsheetRoundTrip()
{
    QSqlQuery(p->state->db())
        .exec(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Address, Remarks, Percentage_Last_Term, "
                             "Date_Enlisted) VALUES ('S006', 'Say \"hi\", then', 'Line one' || char(13, 10) || "
                             "'line two', '\u00C9cole \u2014 \u5317\u4EAC', 'private', 0.1, NULL)"));
    ReportForm form(*p->state);
    QStringList columns;
    const QSqlRecord record = p->state->db().record(QStringLiteral("Student"));
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    // Remarks chosen while the password was given stay out once it is not.
    p->state->LoginGranted = true;
    form.fillAvailable(QueryStatement::designerFields(columns, true));
    p->state->LoginGranted = false;
    form.RepActivate(QueryStatement::whole(QStringLiteral("Student"), QStringLiteral(" ORDER BY [Number]")));
    QVERIFY(showActive(&form));
    form.cmdDirectionClick(0);
    QTest::keyClicks(widget(&form, "txtFilename"), QStringLiteral("C:\\Temp\\Class List.htm"));
    QTest::mouseClick(widget(&form, "cmdSpreadsheet"), Qt::LeftButton);
    const QString csv = p->file(QStringLiteral("Reports/class list.csv"));
    QCOMPARE(p->messages.texts(), QStringList{QStringLiteral("Saved %1 (rows: 6)").arg(csv)});
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(3) == "\xEF\xBB\xBF");

    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QStringLiteral("import csv, json, sys\n"
                                                       "print(json.dumps(list(csv.reader(open(sys.argv[1], "
                                                       "encoding='utf-8-sig', newline='')))))"),
                  csv});
    QVERIFY(python.waitForFinished(30000));
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), 7);
    QStringList header;
    for (const QJsonValue &v : rows.at(0).toArray())
        header << v.toString();
    QStringList expected = columns;
    expected.removeAll(QStringLiteral("Remarks"));
    QCOMPARE(header, expected);
    auto cell = [&](int row, const char *column) {
        return rows.at(row).toArray().at(header.indexOf(QLatin1String(column))).toString();
    };
    QCOMPARE(cell(6, "Surname"), QStringLiteral("Say \"hi\", then"));
    QCOMPARE(cell(6, "Other_Names"), QStringLiteral("Line one\r\nline two"));
    QCOMPARE(cell(6, "Address"), QStringLiteral("\u00C9cole \u2014 \u5317\u4EAC"));
    QCOMPARE(cell(6, "Percentage_Last_Term") + u'|' + cell(6, "Sex") + u'|' + cell(6, "Date_Enlisted"),
             QStringLiteral("0.1||"));
    QCOMPARE(cell(1, "Birthday") + u'|' + cell(4, "Amount_Payable") + u'|' + cell(5, "Amount_Payable"),
             QStringLiteral("2012-03-04|4999.5|"));

    // Into an empty school through the import: every exported field as it was.
    TestProgram other;
    other.prepareState();
    StudentImport import(other.state->db());
    QVERIFY2(import.read(csv), qPrintable(import.fault()));
    QString error;
    QVERIFY2(import.import(&error), qPrintable(import.summary() + error));
    QStringList quoted;
    for (const QString &c : expected)
        quoted << QStringLiteral("quote([%1])").arg(c);
    auto dump = [&](const QSqlDatabase &db) {
        QSqlQuery q(db);
        QStringList out;
        q.exec(QStringLiteral("SELECT ") + quoted.join(QStringLiteral(" || ',' || ")) +
               QStringLiteral(" FROM Student ORDER BY Number"));
        while (q.next())
            out << q.value(0).toString();
        return out;
    };
    QCOMPARE(dump(other.state->db()).size(), 6);
    QCOMPARE(dump(other.state->db()), dump(p->state->db()));

    // A Reports folder gone is said; no file is left.
    QVERIFY(QDir(p->file(QStringLiteral("Reports"))).removeRecursively());
    QTest::mouseClick(widget(&form, "cmdSpreadsheet"), Qt::LeftButton);
    QVERIFY(p->messages.texts().value(1).startsWith(QStringLiteral("Could not write the spreadsheet ") + csv));
    QVERIFY(!QDir(p->file(QStringLiteral("Reports"))).exists());
}

QTEST_MAIN(TestReportForm)
#include "tst_reportform.moc"
