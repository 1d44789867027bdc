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
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

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
        p->state->PasswordHash = HashPassword(QStringLiteral("Secret"));
        p->state->SchoolName = QStringLiteral("Brindlemark College");
        fillSmallSchool(p->state->db());
        QSqlQuery(p->state->db())
            .exec(QStringLiteral("UPDATE Student SET Picture = 'ann.gif' WHERE Number = 'S001'"));
        p->writeFile(QStringLiteral("Pictures/FrontView/ann.gif"),
                     fileBytes(QStringLiteral(KOLVANE_TEST_DATA "/ann.gif")));
    }
    void cleanup()
    {
        cancelPendingModals();
        form.reset();
        p.reset();
    }
    void openFromMainWindow_data();
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
    QString found() { return get<QLabel>(QStringLiteral("lblRecFound"))->text(); }
    bool displayShown() { return get(QStringLiteral("Frame1"))->isVisible(); }
    // Display Result, with `drive` run on the designer before its Close.
    void display(const std::function<void(QDialog *)> &drive)
    {
        bool driven = false;
        whenModalOpens(QStringLiteral("ReportForm"), [&](QDialog *d) {
            drive(d);
            driven = true;
            click(d, "cmdClose");
        });
        press(QStringLiteral("cmdDisplayResult"));
        QVERIFY(driven);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
};

void TestQueryReport::openFromMainWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("entry"); // null: Cancel; empty: no prompt expected
    QTest::addColumn<QString>("frame"); // the one frame shown
    auto add = [](const char *name, const char *kind, const QString &entry, const char *frame) {
        QTest::newRow(name) << QString::fromLatin1(kind) << entry << QString::fromLatin1(frame);
    };
    add("student, password", "Student", QStringLiteral("secret"), "FrameStudent");
    add("staff", "Staff", QStringLiteral("secret"), "FrameStaff");
    add("former student", "FormerStudent", QStringLiteral("wrong"), "FrameStudent");
    add("former staff", "FormerStaff", QString(), "FrameStaff");
    add("stock", "Stock", QStringLiteral(""), "FrameStock"); // not null: no prompt
}

// Action > Query And Report: the prompt or none, the form arranged by kind,
// no row clipped, the designer's fields by the grant, the grant gone at close.
void TestQueryReport::openFromMainWindow()
{
    QFETCH(QString, kind);
    QFETCH(QString, entry);
    QFETCH(QString, frame);
    KolvaneMain w(*p->state);
    w.findChild<QAction *>("mnuUpon" + kind)->trigger();
    QStringList captions;
    if (entry.isNull() || !entry.isEmpty())
        answerLogin(captions, entry, 3);
    bool granted = false, looked = false;
    auto look = [&](QDialog *d) { // a failed check leaves early; the form closes all the same
        looked = true;
        granted = p->state->LoginGranted;
        auto *tabs = d->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->isTabVisible(QueryReport::StockTab), kind == QLatin1String("Stock"));
        QCOMPARE(tabs->isTabVisible(QueryReport::PeopleTab), kind != QLatin1String("Stock"));
        for (const char *f : {"FrameStudent", "FrameStaff", "FrameStock"})
            QCOMPARE(d->findChild<QWidget *>(f)->isVisibleTo(d), frame == QLatin1String(f));
        for (int i = 0; i < QueryRows::Count; ++i) {
            const char *source = QueryRows::row(i).source;
            for (const QString &name :
                 {QStringLiteral("chkQ(%1)").arg(i), QStringLiteral("cmdQ(%1)").arg(i),
                  source ? QLatin1String(source) : QString()}) {
                QWidget *c = name.isEmpty() ? nullptr : d->findChild<QWidget *>(name);
                QVERIFY2(!c || !c->isVisibleTo(d) ||
                             c->size().expandedTo(c->sizeHint()) == c->size(),
                         qPrintable(name + " is clipped"));
            }
        }
        static_cast<QueryReport *>(d)->cmdGiveWholeReportClick(0);
        QCOMPARE(static_cast<QueryReport *>(d)->result().availableFields.contains("Remarks"),
                 granted);
        if (qEnvironmentVariableIsSet("KOLVANE_GRAB"))
            d->grab().save(qEnvironmentVariable("KOLVANE_GRAB") + u'/' + kind +
                           QStringLiteral(".png"));
    };
    whenModalOpens(QStringLiteral("QueryReport"), [&](QDialog *d) {
        look(d);
        d->reject();
    });
    w.findChild<QAction *>(QStringLiteral("mnuActionQuery"))->trigger();
    QVERIFY(looked);
    QCOMPARE(captions, entry.isEmpty() && !entry.isNull() ? QStringList()
                                                          : QStringList{"Login to view remarks."});
    QCOMPARE(granted, entry == QLatin1String("secret"));
    QVERIFY(!p->state->LoginGranted);
    w.abandon();
}

// An operator's search from nothing marked (Cancel gives nothing, OK the whole
// table) to the designer, and new searches hiding the result again.
void TestQueryReport::searchAndDesign()
{
    open(QStringLiteral("Student"));
    press(QStringLiteral("cmdGiveWholeReport(0)"));
    QVERIFY(displayShown());
    for (auto answer : {MessageBoxes::Cancel, MessageBoxes::Ok}) {
        const bool ok = answer == MessageBoxes::Ok;
        p->messages.setNextAnswer(answer);
        press(QStringLiteral("cmdGiveWholeReport(1)"));
        QCOMPARE(found(), ok ? QStringLiteral("5 record(s) found") : QString());
        QCOMPARE(displayShown(), ok);
        QCOMPARE(form->result().isEmpty(), !ok);
    }
    QCOMPARE(p->messages.texts(),
             QStringList(2, "No field is marked for query criteria\r\nGive Whole Report?"));
    QCOMPARE(QApplication::focusWidget(), get(QStringLiteral("cmdDisplayResult")));
    p->messages.clear();
    // A pair's button switches the operator; a lone one stays "=".
    press(QStringLiteral("chkQ(1)"));
    press(QStringLiteral("cmdQ(1)"));
    press(QStringLiteral("cmdQ(9)"));
    QTest::keyClicks(get(QStringLiteral("TextQ(1)")), QStringLiteral("Ad"));
    press(QStringLiteral("chkQ(9)"));
    auto *level = get<QComboBox>(QStringLiteral("cmbClassLevel"));
    level->setFocus();
    QTest::keyClicks(level, QStringLiteral("Primary1"));
    press(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("2 record(s) found"));
    QCOMPARE(form->result().statement(),
             "SELECT * FROM Student WHERE   [Surname]  like ? AND [Class_Level]  = ? "
             "ORDER BY [Number],[Surname],[Other_Names]");
    QCOMPARE(form->result().values(), (QVariantList{"%Ad%", "Primary1"}));

    const QString report = p->file(QStringLiteral("Reports/class list.htm"));
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
        for (int r = 0; r < 2; ++r)
            QCOMPARE(model->index(r, remarks).data().toString(), QString());
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
        QVERIFY(QDir(p->file(QStringLiteral("Reports"))).isEmpty());

        available->selectAll();
        available->item(0)->setSelected(false);
        click(d, "cmdDirection(0)");
        click(d, "txtFilename");
        QTest::keyClicks(widget(d, "txtFilename"), QStringLiteral("C:\\Temp\\Class List"));
        click(d, "cmdGenerate");
        QVERIFY(QFile::exists(report));
        QCOMPARE(p->desktop.pages,
                 QStringList{QUrl::fromLocalFile(report).toString(QUrl::FullyEncoded)});
    });

    // The choices outlive Close. A Reports folder gone is said once; nothing
    // is made in its place and no page is opened.
    QVERIFY(QDir(p->file(QStringLiteral("Reports"))).removeRecursively());
    display([&](QDialog *d) {
        QCOMPARE(widget<QListWidget>(d, "lstOutput")->count(),
                 widget<QListWidget>(d, "lstAvailable")->count() - 1);
        click(d, "cmdGenerate");
    });
    QCOMPARE(p->messages.texts(),
             QStringList{QStringLiteral("Could not write the report ") + report +
                         QStringLiteral(" (No such file or directory)")});
    QVERIFY(!QDir(p->file(QStringLiteral("Reports"))).exists());
    QCOMPARE(p->desktop.pages.size(), 1);
    p->messages.clear();

    // The arm list holds the level's arms once the operator is in it.
    press(QStringLiteral("chkQ(10)"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(get<QComboBox>(QStringLiteral("cmbClassArm"))->count(), 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Red"));
    press(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("1 record(s) found"));

    // A grouped amount would read as 1: the box keeps the focus.
    auto *payable = get<QLineEdit>(QStringLiteral("TextQ(13)"));
    payable->setFocus();
    QTest::keyClicks(payable, QStringLiteral("1,500"));
    QTest::keyClick(payable, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), payable);
    payable->clear();

    get<QLineEdit>(QStringLiteral("TextQ(1)"))->setText(QStringLiteral("Nobody"));
    press(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("0 record(s) found"));
    QVERIFY(!displayShown());
    QVERIFY(p->messages.shown.isEmpty());
}

// The result saved as a spreadsheet, read back by Python's csv module and by
// the program's own import into another school.
void TestQueryReport::spreadsheetRoundTrip()
{
    QSqlQuery(p->state->db())
        .exec(QStringLiteral(
            "INSERT INTO Student (Number, Surname, Other_Names, Address, Remarks, "
            "Percentage_Last_Term, "
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
    form.RepActivate(
        QueryStatement::whole(QStringLiteral("Student"), QStringLiteral(" ORDER BY [Number]")));
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
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
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

    // Into an empty school through the import: every exported field as it was,
    // numbers, dates and empty fields too.
    TestProgram other;
    other.prepareState();
    StudentImport import(other.state->db());
    QVERIFY2(import.read(csv), qPrintable(import.fault()));
    QString error;
    QVERIFY2(import.import(&error), qPrintable(import.summary() + error));
    QStringList quoted;
    for (const QString &c : expected)
        quoted << QStringLiteral("quote([%1])").arg(c);
    const QString dump = QStringLiteral("SELECT ") + quoted.join(QStringLiteral(" || ',' || ")) +
                         QStringLiteral(" FROM Student ORDER BY Number");
    const QStringList imported = column(other.state->db().databaseName(), dump);
    QCOMPARE(imported.size(), 6);
    QCOMPARE(imported, column(p->state->db().databaseName(), dump));

    // A Reports folder gone is said; no file is left.
    QVERIFY(QDir(p->file(QStringLiteral("Reports"))).removeRecursively());
    QTest::mouseClick(widget(&form, "cmdSpreadsheet"), Qt::LeftButton);
    QVERIFY(p->messages.texts().value(1).startsWith(
        QStringLiteral("Could not write the spreadsheet ") + csv));
    QVERIFY(!QDir(p->file(QStringLiteral("Reports"))).exists());
}

QTEST_MAIN(TestQueryReport)
#include "tst_queryreport.moc"
