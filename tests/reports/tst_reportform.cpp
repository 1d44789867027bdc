#include "Modal.h"
#include "SmallSchool.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "reports/QueryReport.h"
#include "reports/ReportForm.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QListWidget>
#include <QTableView>
#include <QUrl>

namespace {

QStringList texts(const QListWidget *list)
{
    QStringList t;
    for (int i = 0; i < list->count(); ++i)
        t << list->item(i)->text();
    return t;
}

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
            QTest::mouseClick(widget(d, "cmdClose"), Qt::LeftButton);
        });
        QTest::mouseClick(widget(&query, "cmdGiveWholeReport(0)"), Qt::LeftButton);
        QTest::mouseClick(widget(&query, "cmdDisplayResult"), Qt::LeftButton);
        QVERIFY(driven);
    };
    const QString report = p->file(QStringLiteral("Reports/class list.htm"));

    display([&](QDialog *d) {
        auto *available = widget<QListWidget>(d, "lstAvailable");
        auto *output = widget<QListWidget>(d, "lstOutput");
        auto *grid = widget<QTableView>(d, "MSHFlexGrid1");
        QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);

        // Without the password the remarks are neither offered nor previewed.
        QVERIFY(!texts(available).contains("Remarks"));
        QCOMPARE(available->selectedItems().size(), available->count());
        QAbstractItemModel *model = grid->model();
        QCOMPARE(model->rowCount(), 5);
        int remarks = -1, picture = -1;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QString name = model->headerData(c, Qt::Horizontal).toString();
            remarks = name == QLatin1String("Remarks") ? c : remarks;
            picture = name == QLatin1String("Picture") ? c : picture;
        }
        QVERIFY(remarks >= 0 && picture >= 0);
        grid->scrollTo(model->index(0, picture), QAbstractItemView::PositionAtCenter);
        grabPng(d);
        for (int r = 0; r < 5; ++r)
            QCOMPARE(model->index(r, remarks).data().toString(), QString());
        QVERIFY(!model->index(0, picture).data(Qt::DecorationRole).value<QPixmap>().isNull());
        QCOMPARE(model->index(0, picture).data().toString(), QString());

        // Copying a field twice adds it once; the available list stays whole.
        clickItem(available, "Surname");
        QTest::mouseClick(widget(d, "cmdDirection(0)"), Qt::LeftButton);
        QTest::mouseClick(widget(d, "cmdDirection(0)"), Qt::LeftButton);
        clickItem(available, "Number");
        clickItem(available, "Amount_Payable", Qt::ControlModifier);
        QTest::mouseClick(widget(d, "cmdDirection(0)"), Qt::LeftButton);
        const QStringList chosen{"Surname", "Number", "Amount_Payable"};
        QCOMPARE(texts(output), chosen);
        QVERIFY(!texts(available).isEmpty() && texts(available).contains("Surname"));

        // Removing with nothing selected, the first up and the last down: no change.
        output->clearSelection();
        QTest::mouseClick(widget(d, "cmdDirection(1)"), Qt::LeftButton);
        QCOMPARE(texts(output), chosen);
        clickItem(output, "Surname");
        QTest::mouseClick(widget(d, "cmdMoveUpDown(0)"), Qt::LeftButton);
        QCOMPARE(texts(output), chosen);
        QCOMPARE(output->currentRow(), 0);
        QVERIFY(output->item(0)->isSelected());
        clickItem(output, "Amount_Payable");
        QTest::mouseClick(widget(d, "cmdMoveUpDown(1)"), Qt::LeftButton);
        QCOMPARE(texts(output), chosen);
        QVERIFY(output->item(2)->isSelected());
        clickItem(output, "Number");
        QTest::mouseClick(widget(d, "cmdMoveUpDown(0)"), Qt::LeftButton);
        QCOMPARE(texts(output), (QStringList{"Number", "Surname", "Amount_Payable"}));
        QCOMPARE(output->currentRow(), 0);

        // Generate with nothing to output only puts the focus on the list.
        output->selectAll();
        QTest::mouseClick(widget(d, "cmdDirection(1)"), Qt::LeftButton);
        QCOMPARE(output->count(), 0);
        QTest::mouseClick(widget(d, "cmdGenerate"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), output);
        QVERIFY(QDir(p->file(QStringLiteral("Reports"))).isEmpty());

        available->selectAll();
        available->item(0)->setSelected(false);
        QTest::mouseClick(widget(d, "cmdDirection(0)"), Qt::LeftButton);
        QCOMPARE(output->count(), available->count() - 1);
        QTest::mouseClick(widget(d, "txtFilename"), Qt::LeftButton);
        QTest::keyClicks(widget(d, "txtFilename"), QStringLiteral("C:\\Temp\\Class List"));
        QTest::mouseClick(widget(d, "cmdGenerate"), Qt::LeftButton);
        QVERIFY(QFile::exists(report));
        QCOMPARE(p->desktop.pages, QStringList{QString::fromLatin1(QUrl::fromLocalFile(report).toEncoded())});
        QCOMPARE(QApplication::focusWidget(), widget(d, "txtFilename"));
    });

    // The choices outlive Close; a Reports folder gone is said once, and no
    // page is opened.
    QVERIFY(QDir(p->file(QStringLiteral("Reports"))).removeRecursively());
    display([&](QDialog *d) {
        QCOMPARE(widget<QListWidget>(d, "lstOutput")->count(), widget<QListWidget>(d, "lstAvailable")->count() - 1);
        QCOMPARE(widget<QLineEdit>(d, "txtFilename")->text(), QStringLiteral("C:\\Temp\\Class List"));
        QTest::mouseClick(widget(d, "cmdGenerate"), Qt::LeftButton);
    });
    QCOMPARE(p->messages.texts(),
             QStringList{QStringLiteral("Could not write the report ") + report + QStringLiteral(" (No such file or directory)")});
    QCOMPARE(p->desktop.pages.size(), 1);
}

QTEST_MAIN(TestReportForm)
#include "tst_reportform.moc"
