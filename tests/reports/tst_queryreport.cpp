#include "Modal.h"
#include "SmallSchool.h"
#include "TestProgram.h"
#include "app/KolvaneMain.h"
#include "app/Password.h"
#include "reports/QueryReport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
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
        p->state->VoiceOn = false;
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
    void filterWithNothingMarked_data();
    void filterWithNothingMarked();
    void operatorButtons_data();
    void operatorButtons();
    void filterCountsAndHandsOn();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<QueryReport> form;
    void openForm(const QString &kind)
    {
        p->state->RecordKind = kind;
        form = std::make_unique<QueryReport>(*p->state);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    template<class T> T *get(const QString &name)
    {
        auto *w = form->findChild<T *>(name);
        if (!w)
            qFatal("no %s", qPrintable(name));
        return w;
    }
    void click(const QString &name) { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    QString found() { return get<QLabel>(QStringLiteral("lblRecFound"))->text(); }
    bool displayShown() { return get<QWidget>(QStringLiteral("Frame1"))->isVisible(); }
};

void TestQueryReport::openFromMainWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("entry"); // null: Cancel
    QTest::addColumn<bool>("prompted");
    QTest::addColumn<QString>("frame"); // the one frame shown on the People tab; empty: stock
    QTest::addColumn<QString>("third"); // third sort field
    QTest::newRow("student, password") << "Student" << "secret" << true << "FrameStudent" << "Other_Names";
    QTest::newRow("student, cancelled") << "Student" << QString() << true << "FrameStudent" << "Other_Names";
    QTest::newRow("staff") << "Staff" << "secret" << true << "FrameStaff" << "Other_Names";
    QTest::newRow("former student") << "FormerStudent" << "wrong" << true << "FrameStudent" << "Other_Names";
    QTest::newRow("former staff") << "FormerStaff" << QString() << true << "FrameStaff" << "Other_Names";
    QTest::newRow("stock") << "Stock" << "" << false << "" << "Description";
}

// Action > Query And Report: the prompt or none, the form arranged by kind,
// every row readable and unclipped, and the grant gone when it closes.
void TestQueryReport::openFromMainWindow()
{
    QFETCH(QString, kind);
    QFETCH(QString, entry);
    QFETCH(bool, prompted);
    QFETCH(QString, frame);
    QFETCH(QString, third);
    KolvaneMain w(*p->state);
    w.findChild<QAction *>(QStringLiteral("mnuUpon") + kind)->trigger();
    QStringList captions;
    if (prompted)
        answerLogin(captions, entry, 3);
    bool granted = false, looked = false;
    // A failed check leaves the look early; the form is closed all the same.
    auto look = [&](QDialog *d) {
        looked = true;
        granted = p->state->LoginGranted;
        QCOMPARE(d->windowTitle(), "Brindlemark College : " + kind + " - Query And Report.");
        auto *tabs = d->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->isTabVisible(QueryReport::PeopleTab), !frame.isEmpty());
        QCOMPARE(tabs->isTabVisible(QueryReport::StockTab), frame.isEmpty());
        for (const QString &f : {QStringLiteral("FrameStudent"), QStringLiteral("FrameStaff"),
                                 QStringLiteral("FrameStock")})
            QCOMPARE(d->findChild<QWidget *>(f)->isVisibleTo(d),
                     f == frame || (frame.isEmpty() && f == QLatin1String("FrameStock")));
        for (int i = 0; i < QueryRows::Count; ++i) {
            auto *chk = d->findChild<QCheckBox *>(QStringLiteral("chkQ(%1)").arg(i));
            if (!chk->isVisibleTo(d))
                continue;
            auto *cmd = d->findChild<QPushButton *>(QStringLiteral("cmdQ(%1)").arg(i));
            const char *source = QueryRows::row(i).source;
            auto *value = d->findChild<QWidget *>(source ? QString::fromLatin1(source)
                                                         : QStringLiteral("TextQ(%1)").arg(i));
            QCOMPARE(value->accessibleName(), chk->text() + " value");
            QCOMPARE(cmd->accessibleName(), chk->text() + " operator");
            for (QWidget *c : {static_cast<QWidget *>(chk), static_cast<QWidget *>(cmd), value})
                QVERIFY2(c->width() >= c->minimumSizeHint().width() && c->height() >= c->minimumSizeHint().height(),
                         qPrintable(c->objectName() + " is clipped"));
            QVERIFY2(chk->width() >= chk->sizeHint().width(), qPrintable(chk->text()));
        }
        for (int i = 0; i < 3; ++i) {
            auto *sort = d->findChild<QComboBox *>(QStringLiteral("cmbSort(%1)").arg(i));
            QCOMPARE(sort->currentIndex(), i);
            for (int j = 0; j < sort->count(); ++j)
                QVERIFY(!QStringList({"picture", "remarks"}).contains(sort->itemText(j).toLower()));
        }
        QCOMPARE(d->findChild<QComboBox *>(QStringLiteral("cmbSort(2)"))->currentText(), third);
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdGiveWholeReport(0)")), Qt::LeftButton);
        const QStringList fields = static_cast<QueryReport *>(d)->result().availableFields;
        QCOMPARE(fields.contains(QStringLiteral("Remarks")), granted);
        QCOMPARE(fields.contains(QStringLiteral("Picture")), !frame.isEmpty());
        if (qEnvironmentVariableIsSet("KOLVANE_GRAB"))
            d->grab().save(qEnvironmentVariable("KOLVANE_GRAB") + u'/' + kind + QStringLiteral(".png"));
    };
    whenModalOpens(QStringLiteral("QueryReport"), [&](QDialog *d) {
        look(d);
        d->reject();
    });
    w.findChild<QAction *>(QStringLiteral("mnuActionQuery"))->trigger();
    QVERIFY(looked);
    QCOMPARE(captions, prompted ? QStringList{"Login to view remarks."} : QStringList());
    QCOMPARE(granted, entry == QLatin1String("secret"));
    QVERIFY(!p->state->LoginGranted);
    w.abandon();
}

void TestQueryReport::filterWithNothingMarked_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("label");
    QTest::newRow("OK gives the whole table") << int(MessageBoxes::Ok) << "5 record(s) found";
    QTest::newRow("Cancel gives nothing") << int(MessageBoxes::Cancel) << "";
}

void TestQueryReport::filterWithNothingMarked()
{
    QFETCH(int, answer);
    QFETCH(QString, label);
    openForm(QStringLiteral("Student"));
    click(QStringLiteral("cmdGiveWholeReport(0)"));
    QVERIFY(displayShown());
    p->messages.setNextAnswer(MessageBoxes::Button(answer));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(p->messages.texts(),
             QStringList{"No field is marked for query criteria\r\nGive Whole Report?"});
    QCOMPARE(p->messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok) | MessageBoxes::Cancel);
    QCOMPARE(found(), label);
    QCOMPARE(displayShown(), !label.isEmpty());
    QCOMPARE(form->result().isEmpty(), label.isEmpty());
    if (!label.isEmpty())
        QCOMPARE(QApplication::focusWidget(), get<QWidget>(QStringLiteral("cmdDisplayResult")));
}

void TestQueryReport::operatorButtons_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("captions"); // at opening, after one click, after two
    const QString st = QStringLiteral("Student");
    QTest::newRow("Surname") << st << 1 << QStringList{"=", "like", "="};
    QTest::newRow("Other_Names") << st << 2 << QStringList{"like", "=", "like"};
    QTest::newRow("Birthday") << st << 6 << QStringList{"<=", ">=", "<="};
    QTest::newRow("Percentage_Last_Term") << st << 11 << QStringList{">=", "<=", ">="};
    QTest::newRow("Financial_Balance") << st << 16 << QStringList{"<", ">", "<"};
    QTest::newRow("Monthly_Salary") << "Staff" << 30 << QStringList{"<=", ">=", "<="};
    QTest::newRow("Last_Purchase_Price") << "Stock" << 22 << QStringList{"<=", ">=", "<="};
    QTest::newRow("stock Number") << "Stock" << 27 << QStringList{"=", "like", "="};
    for (int row : {4, 5, 9, 10})
        QTest::addRow("fixed %d", row) << st << row << QStringList{"=", "=", "="};
    for (int row : {28, 29})
        QTest::addRow("fixed %d", row) << "FormerStaff" << row << QStringList{"=", "=", "="};
}

void TestQueryReport::operatorButtons()
{
    QFETCH(QString, kind);
    QFETCH(int, row);
    QFETCH(QStringList, captions);
    openForm(kind);
    auto *button = get<QPushButton>(QStringLiteral("cmdQ(%1)").arg(row));
    QStringList seen{button->text()};
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(button, Qt::LeftButton);
        seen << button->text();
    }
    QCOMPARE(seen, captions);
}

// An operator's search from marking to the designer's hand-over, and a new
// search hiding it again.
void TestQueryReport::filterCountsAndHandsOn()
{
    openForm(QStringLiteral("Student"));
    QList<QueryResult> handed;
    connect(form.get(), &QueryReport::displayResult, this, [&handed](const QueryResult &r) { handed << r; });
    click(QStringLiteral("chkQ(1)"));
    click(QStringLiteral("cmdQ(1)"));
    QTest::keyClicks(get<QWidget>(QStringLiteral("TextQ(1)")), QStringLiteral("Ad"));
    click(QStringLiteral("chkQ(9)"));
    auto *level = get<QComboBox>(QStringLiteral("cmbClassLevel"));
    level->setFocus();
    QTest::keyClicks(level, QStringLiteral("Primary1"));
    QCOMPARE(level->currentText(), QStringLiteral("Primary1"));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("2 record(s) found"));
    QVERIFY(displayShown());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // the focused Display button
    QCOMPARE(handed.size(), 1);
    QCOMPARE(handed.at(0).statement(),
             QStringLiteral("SELECT * FROM Student WHERE   [Surname]  like ? AND [Class_Level]  = ? "
                            "ORDER BY [Number],[Surname],[Other_Names]"));
    QCOMPARE(handed.at(0).values(), (QVariantList{"%Ad%", "Primary1"}));

    // The arm list follows the level when the operator enters it.
    auto *arm = get<QComboBox>(QStringLiteral("cmbClassArm"));
    click(QStringLiteral("chkQ(10)"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), arm);
    QCOMPARE(arm->count(), 2);
    QTest::keyClicks(arm, QStringLiteral("Red"));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("1 record(s) found"));

    // A grouped amount would read as 1: the box keeps the focus.
    auto *payable = get<QLineEdit>(QStringLiteral("TextQ(13)"));
    payable->setFocus();
    QTest::keyClicks(payable, QStringLiteral("1,500"));
    QTest::keyClick(payable, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), payable);
    payable->clear();

    auto *surname = get<QLineEdit>(QStringLiteral("TextQ(1)"));
    surname->clear();
    QTest::keyClicks(surname, QStringLiteral("Nobody"));
    click(QStringLiteral("cmdGiveWholeReport(1)"));
    QCOMPARE(found(), QStringLiteral("0 record(s) found"));
    QVERIFY(!displayShown());
    QVERIFY(p->messages.shown.isEmpty());
}

QTEST_MAIN(TestQueryReport)
#include "tst_queryreport.moc"
