#include "Modal.h"
#include "SmallSchool.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"
#include "records/StudentImport.h"
#include "reports/QueryReport.h"
#include "reports/ReportForm.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

using namespace Qt::StringLiterals;

// From the main window's Query And Report through the search to the report
// designer and its files, over a small school whose first student has a photo.
class TestQueryReport : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        p = std::make_unique<TestProgram>();
        p->writeTypicalIni();
        p->prepareState();
        p->state->PasswordHash = HashPassword(u"Secret"_s);
        fillSmallSchool(p->state->db());
        QSqlQuery(p->state->db())
            .exec(u"UPDATE Student SET Picture = 'ann.gif' WHERE Number = 'S001'"_s);
        p->writeFile(u"Pictures/FrontView/ann.gif"_s,
                     fileBytes(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif")));
    }
    void cleanup()
    {
        cancelPendingModals();
        form.reset();
        p.reset();
    }
    void arrangedByKind();
    void openFromMainWindow();
    void searchAndDesign();
    void spreadsheetRoundTrip();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<QueryReport> form;
    void open(const QString &kind)
    {
        p->state->RecordKind = kind;
        form = std::make_unique<QueryReport>(*p->state);
        QVERIFY(showActive(form.get()));
    }
    template <class T = QWidget> T *get(const QString &name) { return form->findChild<T *>(name); }
    void press(const QString &name) { QTest::mouseClick(get(name), Qt::LeftButton); }
    QString found() { return get<QLabel>(u"lblRecFound"_s)->text(); }
    bool displayShown() { return get(u"Frame1"_s)->isVisible(); }
    // Display Result, with `drive` run on the designer before its Close.
    void display(const std::function<void(QDialog *)> &drive)
    {
        bool driven = false;
        whenModalOpens(u"ReportForm"_s, [&](QDialog *d) {
            drive(d);
            driven = true;
            click(d, "cmdClose");
        });
        press(u"cmdDisplayResult"_s);
        QVERIFY(driven);
        QVERIFY(showActive(form.get()));
    }
};

// Each kind arranges the form its own way: the one tab and frame, no row clipped.
void TestQueryReport::arrangedByKind()
{
    for (const QString kind : {"Student", "Staff", "FormerStudent", "FormerStaff", "Stock"}) {
        // Former people share the frame of the current ones.
        const QString frame = u"Frame"_s + QString(kind).remove(u"Former"_s);
        open(kind);
        auto *tabs = get<QTabWidget>(u"SSTab1"_s);
        QVERIFY2(tabs->isTabVisible(QueryReport::StockTab) == (kind == "Stock") &&
                     tabs->isTabVisible(QueryReport::PeopleTab) == (kind != "Stock"),
                 qPrintable(kind + " shows the other tab"));
        for (const char *f : {"FrameStudent", "FrameStaff", "FrameStock"})
            QVERIFY2(get(QLatin1String(f))->isVisible() == (frame == QLatin1String(f)),
                     qPrintable(kind + " shows the wrong frames"));
        for (int i = 0; i < QueryRows::Count; ++i) {
            const char *source = QueryRows::row(i).source;
            for (const QString &name : {u"chkQ(%1)"_s.arg(i), u"cmdQ(%1)"_s.arg(i),
                                        source ? QLatin1String(source) : QString()}) {
                QWidget *c = name.isEmpty() ? nullptr : get(name);
                QVERIFY2(!c || !c->isVisible() || c->size().expandedTo(c->sizeHint()) == c->size(),
                         qPrintable(name + " is clipped for " + kind));
            }
        }
        if (qEnvironmentVariableIsSet("KOLVANE_GRAB"))
            form->grab().save(qEnvironmentVariable("KOLVANE_GRAB") + u'/' + kind + u".png"_s);
    }
}

// Action > Query And Report asks for the password; given, the designer offers
// the remarks while the form is open; refused, the form opens without them.
// Stock asks nothing: tst_mainwindow's unguardedCommands.
void TestQueryReport::openFromMainWindow()
{
    KolvaneMain w(*p->state);
    for (const QString &entry : {u"secret"_s, u"wrong"_s}) {
        QStringList captions;
        answerLogin(captions, entry, 3);
        bool remarks = false;
        whenModalOpens(u"QueryReport"_s, [&](QDialog *d) {
            static_cast<QueryReport *>(d)->cmdGiveWholeReportClick(0);
            remarks = static_cast<QueryReport *>(d)->result().availableFields.contains("Remarks");
            d->reject();
        });
        w.findChild<QAction *>(u"mnuActionQuery"_s)->trigger();
        QCOMPARE(captions, QStringList{"Login to view remarks."});
        QVERIFY2(remarks == (entry == u"secret"_s), qPrintable(entry));
        QVERIFY2(!p->state->LoginGranted, "the grant outlives the form");
    }
    w.abandon();
}

// An operator's search from nothing marked (Cancel gives nothing, OK the whole
// table) to the designer, and new searches hiding the result again.
void TestQueryReport::searchAndDesign()
{
    open(u"Student"_s);
    press(u"cmdGiveWholeReport(0)"_s);
    QVERIFY(displayShown());
    for (auto answer : {MessageBoxes::Cancel, MessageBoxes::Ok}) {
        const bool ok = answer == MessageBoxes::Ok;
        p->messages.setNextAnswer(answer);
        press(u"cmdGiveWholeReport(1)"_s);
        QCOMPARE(found(), ok ? u"5 record(s) found"_s : QString());
        QCOMPARE(displayShown(), ok);
        QCOMPARE(form->result().isEmpty(), !ok);
    }
    QCOMPARE(p->messages.texts(),
             QStringList(2, "No field is marked for query criteria\r\nGive Whole Report?"));
    QCOMPARE(QApplication::focusWidget(), get(u"cmdDisplayResult"_s));
    p->messages.clear();
    // A pair's button switches the operator; a lone one stays "=".
    press(u"chkQ(1)"_s);
    press(u"cmdQ(1)"_s);
    press(u"cmdQ(9)"_s);
    QTest::keyClicks(get(u"TextQ(1)"_s), u"Ad"_s);
    press(u"chkQ(9)"_s);
    auto *level = get<QComboBox>(u"cmbClassLevel"_s);
    level->setFocus();
    QTest::keyClicks(level, u"Primary1"_s);
    press(u"cmdGiveWholeReport(1)"_s);
    // The values bound are held by this count and the arm's below.
    QCOMPARE(found(), u"2 record(s) found"_s);
    QCOMPARE(form->result().statement(),
             "SELECT * FROM Student WHERE   [Surname]  like ? AND [Class_Level]  = ? "
             "ORDER BY [Number],[Surname],[Other_Names]");

    const QString report = p->file(u"Reports/class list.htm"_s);
    display([&](QDialog *d) {
        auto *available = widget<QListWidget>(d, "lstAvailable");
        auto *output = widget<QListWidget>(d, "lstOutput");
        auto *grid = widget<QTableView>(d, "MSHFlexGrid1");
        QAbstractItemModel *model = grid->model();
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList columns;
        for (int c = 0; c < model->columnCount(); ++c)
            columns << model->headerData(c, Qt::Horizontal).toString();
        const int remarks = int(columns.indexOf("Remarks")),
                  picture = int(columns.indexOf("Picture"));
        grid->scrollTo(model->index(0, picture), QAbstractItemView::PositionAtCenter);
        grabPng(d);

        // The search's rows; without the password the remarks are neither offered nor previewed.
        QVERIFY(!lines(available).contains("Remarks"));
        QCOMPARE(available->selectedItems().size(), available->count());
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, remarks).data().toString(), QString());
        QVERIFY(!model->index(0, picture).data(Qt::DecorationRole).value<QPixmap>().isNull());

        // A field copied twice is added once; removing with nothing selected,
        // moving the first up or the last down changes nothing.
        clickLine(available, "Surname");
        click(d, "cmdDirection(0)");
        click(d, "cmdDirection(0)");
        clickLine(available, "Number");
        const QListWidgetItem *payable =
            available->findItems("Amount_Payable", Qt::MatchExactly).value(0);
        available->scrollToItem(payable);
        QTest::mouseClick(available->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          available->visualItemRect(payable).center());
        click(d, "cmdDirection(0)");
        output->clearSelection();
        click(d, "cmdDirection(1)");
        clickLine(output, "Surname");
        click(d, "cmdMoveUpDown(0)");
        QVERIFY(output->item(0)->isSelected());
        clickLine(output, "Amount_Payable");
        click(d, "cmdMoveUpDown(1)");
        QVERIFY(output->item(2)->isSelected());
        QCOMPARE(lines(output), (QStringList{"Surname", "Number", "Amount_Payable"}));
        clickLine(output, "Number");
        click(d, "cmdMoveUpDown(0)");
        QCOMPARE(lines(output), (QStringList{"Number", "Surname", "Amount_Payable"}));

        // Generate with nothing to output only puts the focus on the list.
        output->selectAll();
        click(d, "cmdDirection(1)");
        click(d, "cmdGenerate");
        QCOMPARE(QApplication::focusWidget(), output);
        QVERIFY(QDir(p->file(u"Reports"_s)).isEmpty());

        available->selectAll();
        available->item(0)->setSelected(false);
        click(d, "cmdDirection(0)");
        click(d, "txtFilename");
        QTest::keyClicks(widget(d, "txtFilename"), u"C:\\Temp\\Class List"_s);
        click(d, "cmdGenerate");
        QVERIFY(QFile::exists(report));
        QCOMPARE(p->desktop.pages,
                 QStringList{QUrl::fromLocalFile(report).toString(QUrl::FullyEncoded)});
    });

    // The choices outlive Close. A Reports folder gone is said once; nothing
    // is made in its place and no page is opened.
    QVERIFY(QDir(p->file(u"Reports"_s)).removeRecursively());
    display([&](QDialog *d) {
        QCOMPARE(widget<QListWidget>(d, "lstOutput")->count(),
                 widget<QListWidget>(d, "lstAvailable")->count() - 1);
        click(d, "cmdGenerate");
    });
    QCOMPARE(p->messages.texts(), QStringList{u"Could not write the report "_s + report +
                                              u" (No such file or directory)"_s});
    QVERIFY(!QDir(p->file(u"Reports"_s)).exists());
    QCOMPARE(p->desktop.pages.size(), 1);
    p->messages.clear();

    // The arm list holds the level's arms once the operator is in it.
    press(u"chkQ(10)"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(get<QComboBox>(u"cmbClassArm"_s)->count(), 2);
    QTest::keyClicks(QApplication::focusWidget(), u"Red"_s);
    press(u"cmdGiveWholeReport(1)"_s);
    QCOMPARE(found(), u"1 record(s) found"_s);

    // A grouped amount would read as 1: the box keeps the focus.
    auto *payable = get<QLineEdit>(u"TextQ(13)"_s);
    payable->setFocus();
    QTest::keyClicks(payable, u"1,500"_s);
    QTest::keyClick(payable, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), payable);
    payable->clear();

    get<QLineEdit>(u"TextQ(1)"_s)->setText(u"Nobody"_s);
    press(u"cmdGiveWholeReport(1)"_s);
    QCOMPARE(found(), u"0 record(s) found"_s);
    QVERIFY(!displayShown());
    QVERIFY(p->messages.shown.isEmpty());
}

// The result saved as a spreadsheet and read back by the program's own import
// (a reader of its own, held to Python's csv module in tst_import) into
// another school.
void TestQueryReport::spreadsheetRoundTrip()
{
    QSqlQuery(p->state->db())
        .exec(u"INSERT INTO Student (Number, Surname, Other_Names, Address, Remarks, "
              "Percentage_Last_Term, Date_Enlisted) VALUES ('S006', 'Say \"hi\", then', "
              "'Line one' || char(13, 10) || 'line two', '\u00C9cole \u2014 \u5317\u4EAC', "
              "'private', 0.1, NULL)"_s);
    ReportForm form(*p->state);
    const QStringList columns =
        column(p->state->db().databaseName(), u"SELECT name FROM pragma_table_info('Student')"_s);
    // Remarks chosen while the password was given stay out once it is not.
    p->state->LoginGranted = true;
    form.fillAvailable(QueryStatement::designerFields(columns, true));
    p->state->LoginGranted = false;
    form.RepActivate(QueryStatement::whole(u"Student"_s, u" ORDER BY [Number]"_s));
    QVERIFY(showActive(&form));
    form.cmdDirectionClick(0);
    QTest::keyClicks(widget(&form, "txtFilename"), u"C:\\Temp\\Class List.htm"_s);
    QTest::mouseClick(widget(&form, "cmdSpreadsheet"), Qt::LeftButton);
    const QString csv = p->file(u"Reports/class list.csv"_s);
    QCOMPARE(p->messages.texts(), QStringList{u"Saved %1 (rows: 6)"_s.arg(csv)});
    // The header as written: the output fields in order, the remarks left out.
    QStringList expected = columns;
    expected.removeAll(u"Remarks"_s);
    const QByteArray header = "\xEF\xBB\xBF" + expected.join(u',').toUtf8() + "\r\n";
    QCOMPARE(fileBytes(csv).left(header.size()), header);

    // Into an empty school through the import: every exported field as it was,
    // numbers, dates and empty fields too.
    TestProgram other;
    other.prepareState();
    StudentImport import(other.state->db());
    QVERIFY2(import.read(csv), qPrintable(import.fault()));
    QString error;
    QVERIFY2(import.import(&error), qPrintable(import.summary() + error));
    const QString dump = u"SELECT quote([%1]) FROM Student ORDER BY Number"_s.arg(
        expected.join(u"]) || ',' || quote(["_s));
    const QStringList imported = column(other.state->db().databaseName(), dump);
    QCOMPARE(imported.size(), 6);
    QCOMPARE(imported, column(p->state->db().databaseName(), dump));

    // A Reports folder gone is said; no file is left.
    QVERIFY(QDir(p->file(u"Reports"_s)).removeRecursively());
    QTest::mouseClick(widget(&form, "cmdSpreadsheet"), Qt::LeftButton);
    QVERIFY(p->messages.texts().value(1).startsWith(u"Could not write the spreadsheet "_s + csv));
    QVERIFY(!QDir(p->file(u"Reports"_s)).exists());
}

QTEST_MAIN(TestQueryReport)
#include "tst_queryreport.moc"
