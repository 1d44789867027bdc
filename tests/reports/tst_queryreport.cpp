#include "Modal.h"
#include "SmallSchool.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"
#include "reports/QueryReport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

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
    }
    void cleanup()
    {
        cancelPendingModals();
        form.reset();
        p.reset();
    }
    void openFromMainWindow_data();
    void openFromMainWindow();
    void searchCountsAndHandsOver();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<QueryReport> form;
    void open(const QString &kind)
    {
        p->state->RecordKind = kind;
        form = std::make_unique<QueryReport>(*p->state);
        QVERIFY(showActive(form.get()));
    }
    template<class T = QWidget> T *get(const QString &name) { return form->findChild<T *>(name); }
    void click(const QString &name) { QTest::mouseClick(get(name), Qt::LeftButton); }
    QString found() { return get<QLabel>(QStringLiteral("lblRecFound"))->text(); }
    bool displayShown() { return get(QStringLiteral("Frame1"))->isVisible(); }
};

void TestQueryReport::openFromMainWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("entry"); // null: Cancel; empty: no prompt expected
    QTest::addColumn<QString>("frame"); // the one frame shown
    QTest::addColumn<QString>("operators"); // row:at opening,after one click,after two
    QTest::newRow("student, password") << "Student" << "secret" << "FrameStudent"
                                       << "1:=,like,= 2:like,=,like 6:<=,>=,<= 11:>=,<=,>= 16:<,>,< 4:=,=,= "
                                          "5:=,=,= 9:=,=,= 10:=,=,=";
    QTest::newRow("staff") << "Staff" << "secret" << "FrameStaff" << "";
    QTest::newRow("former student") << "FormerStudent" << "wrong" << "FrameStudent" << "";
    QTest::newRow("former staff") << "FormerStaff" << QString() << "FrameStaff" << "30:<=,>=,<= 28:=,=,= 29:=,=,=";
    QTest::newRow("stock") << "Stock" << "" << "FrameStock" << "22:<=,>=,<= 27:=,like,=";
}

// Action > Query And Report: the prompt or none, the form arranged by kind,
// every row named for a screen reader and unclipped, the operator buttons
// cycling, the grant gone at close.
void TestQueryReport::openFromMainWindow()
{
    QFETCH(QString, kind);
    QFETCH(QString, entry);
    QFETCH(QString, frame);
    QFETCH(QString, operators);
    KolvaneMain w(*p->state);
    w.findChild<QAction *>("mnuUpon" + kind)->trigger();
    QStringList captions;
    if (entry.isNull() || !entry.isEmpty())
        answerLogin(captions, entry, 3);
    bool granted = false, looked = false;
    auto look = [&](QDialog *d) { // a failed check leaves early; the form closes all the same
        looked = true;
        granted = p->state->LoginGranted;
        QCOMPARE(d->windowTitle(), "Brindlemark College : " + kind + " - Query And Report.");
        auto *tabs = d->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->isTabVisible(QueryReport::StockTab), kind == QLatin1String("Stock"));
        QCOMPARE(tabs->isTabVisible(QueryReport::PeopleTab), kind != QLatin1String("Stock"));
        for (const char *f : {"FrameStudent", "FrameStaff", "FrameStock"})
            QCOMPARE(d->findChild<QWidget *>(f)->isVisibleTo(d), frame == QLatin1String(f));
        for (int i = 0; i < QueryRows::Count; ++i) {
            auto *chk = d->findChild<QCheckBox *>(QStringLiteral("chkQ(%1)").arg(i));
            const char *source = QueryRows::row(i).source;
            auto *value = d->findChild<QWidget *>(source ? source : QStringLiteral("TextQ(%1)").arg(i));
            auto *cmd = d->findChild<QWidget *>(QStringLiteral("cmdQ(%1)").arg(i));
            QCOMPARE(value->accessibleName(), chk->text() + " value");
            QCOMPARE(cmd->accessibleName(), chk->text() + " operator");
            for (QWidget *c : {static_cast<QWidget *>(chk), cmd, value})
                QVERIFY2(!c->isVisibleTo(d) || c->size().expandedTo(c->sizeHint()) == c->size() ||
                             qobject_cast<QLineEdit *>(c),
                         qPrintable(c->objectName() + " is clipped"));
        }
        for (int i = 0; i < 3; ++i) {
            auto *sort = d->findChild<QComboBox *>(QStringLiteral("cmbSort(%1)").arg(i));
            QCOMPARE(sort->currentIndex(), i);
            QVERIFY(sort->findText("Picture") < 0 && sort->findText("Remarks") < 0);
        }
        for (const QString &row : operators.split(u' ', Qt::SkipEmptyParts)) {
            auto *button = d->findChild<QPushButton *>("cmdQ(" + row.section(u':', 0, 0) + ')');
            QStringList seen{button->text()};
            for (int i = 0; i < 2; ++i) {
                QTest::mouseClick(button, Qt::LeftButton);
                seen << button->text();
            }
            QCOMPARE(seen.join(u','), row.section(u':', 1));
        }
        static_cast<QueryReport *>(d)->cmdGiveWholeReportClick(0);
        QCOMPARE(static_cast<QueryReport *>(d)->result().availableFields.contains("Remarks"), granted);
        if (qEnvironmentVariableIsSet("KOLVANE_GRAB"))
            d->grab().save(qEnvironmentVariable("KOLVANE_GRAB") + u'/' + kind + QStringLiteral(".png"));
    };
    whenModalOpens(QStringLiteral("QueryReport"), [&](QDialog *d) {
        look(d);
        d->reject();
    });
    w.findChild<QAction *>(QStringLiteral("mnuActionQuery"))->trigger();
    QVERIFY(looked);
    QCOMPARE(captions, entry.isEmpty() && !entry.isNull() ? QStringList() : QStringList{"Login to view remarks."});
    QCOMPARE(granted, entry == QLatin1String("secret"));
    QVERIFY(!p->state->LoginGranted);
    w.abandon();
}

// An operator's search from nothing marked (Cancel gives nothing, OK the whole
// table) to the designer's hand-over, and a new search hiding it again.
void TestQueryReport::searchCountsAndHandsOver()
{
    open(QStringLiteral("Student"));
    click(QStringLiteral("cmdGiveWholeReport(0)"));
    QVERIFY(displayShown());
    for (auto answer : {MessageBoxes::Cancel, MessageBoxes::Ok}) {
        const bool ok = answer == MessageBoxes::Ok;
        p->messages.setNextAnswer(answer);
        click(QStringLiteral("cmdGiveWholeReport(1)"));
        QCOMPARE(found(), ok ? QStringLiteral("5 record(s) found") : QString());
        QCOMPARE(displayShown(), ok);
        QCOMPARE(form->result().isEmpty(), !ok);
    }
    QCOMPARE(p->messages.texts(), QStringList(2, "No field is marked for query criteria\r\nGive Whole Report?"));
    QCOMPARE(QApplication::focusWidget(), get(QStringLiteral("cmdDisplayResult")));
    p->messages.clear();
    QList<QueryResult> handed;
    connect(form.get(), &QueryReport::displayResult, this, [&handed](const QueryResult &r) { handed << r; });
    click(QStringLiteral("chkQ(1)"));
    click(QStringLiteral("cmdQ(1)"));
    QTest::keyClicks(get(QStringLiteral("TextQ(1)")), QStringLiteral("Ad"));
    click(QStringLiteral("chkQ(9)"));
    auto *level = get<QComboBox>(QStringLiteral("cmbClassLevel"));
    level->setFocus();
    QTest::keyClicks(level, QStringLiteral("Primary1"));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("2 record(s) found"));
    whenModalOpens(QStringLiteral("ReportForm"), [](QDialog *d) { d->reject(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // the focused Display button
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(handed.size(), 1);
    QCOMPARE(handed.at(0).statement(), "SELECT * FROM Student WHERE   [Surname]  like ? AND [Class_Level]  = ? "
                                       "ORDER BY [Number],[Surname],[Other_Names]");
    QCOMPARE(handed.at(0).values(), (QVariantList{"%Ad%", "Primary1"}));

    // The arm list holds the level's arms once the operator is in it.
    click(QStringLiteral("chkQ(10)"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(get<QComboBox>(QStringLiteral("cmbClassArm"))->count(), 2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Red"));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("1 record(s) found"));

    // A grouped amount would read as 1: the box keeps the focus.
    auto *payable = get<QLineEdit>(QStringLiteral("TextQ(13)"));
    payable->setFocus();
    QTest::keyClicks(payable, QStringLiteral("1,500"));
    QTest::keyClick(payable, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), payable);
    payable->clear();

    get<QLineEdit>(QStringLiteral("TextQ(1)"))->setText(QStringLiteral("Nobody"));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("0 record(s) found"));
    QVERIFY(!displayShown());
    QVERIFY(p->messages.shown.isEmpty());
}

QTEST_MAIN(TestQueryReport)
#include "tst_queryreport.moc"
