#include "platform/FieldChecks.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

// A small form with one checked field, a plain field, OK (default) and an
// exempt Cancel, driven as an operator would.
class TestFieldChecks : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { delete form; }
    void failingFieldHoldsTheFocus();
    void passingOrNeverEnteredLetsGo();

private:
    QDialog *form = nullptr;
    QLineEdit *checked = nullptr, *other = nullptr;
    QPushButton *ok = nullptr, *cancel = nullptr;
    int okClicks = 0, cancelClicks = 0;
};

void TestFieldChecks::init()
{
    form = new QDialog;
    auto *layout = new QVBoxLayout(form);
    layout->addWidget(checked = new QLineEdit(form));
    layout->addWidget(other = new QLineEdit(form));
    layout->addWidget(ok = new QPushButton(QStringLiteral("&OK"), form));
    layout->addWidget(cancel = new QPushButton(QStringLiteral("&Cancel"), form));
    ok->setDefault(true);
    okClicks = cancelClicks = 0;
    connect(ok, &QPushButton::clicked, this, [this] { ++okClicks; });
    connect(cancel, &QPushButton::clicked, this, [this] { ++cancelClicks; });
    auto *checks = new FieldChecks(form);
    checks->add(checked, [this] { return !checked->text().trimmed().isEmpty(); });
    checks->exempt(cancel);
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    checked->setFocus();
    QTRY_VERIFY(checked->hasFocus());
}

// Neither Tab, Shift+Tab, a click on another field or button, nor Enter on the
// default button gets past a failing field; typing in it still works, and so does
// the exempt Cancel.
void TestFieldChecks::failingFieldHoldsTheFocus()
{
    QTest::keyClick(checked, Qt::Key_Tab);
    QVERIFY(checked->hasFocus());
    QTest::keyClick(checked, Qt::Key_Backtab);
    QVERIFY(checked->hasFocus());
    QTest::mouseClick(other, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
    QTest::keyClick(checked, Qt::Key_Return);
    QCOMPARE(okClicks, 0);
    QVERIFY(form->isVisible());
    // Clicking inside the field itself moves the caret as usual.
    QTest::mouseClick(checked, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
    QTest::keyClicks(checked, QStringLiteral("Ade"));
    QCOMPARE(checked->text(), QStringLiteral("Ade"));
    checked->clear();
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(cancelClicks, 1);
    QVERIFY(cancel->hasFocus());
}

// An empty field never entered is not checked; once it passes, it lets go too.
void TestFieldChecks::passingOrNeverEnteredLetsGo()
{
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::keyClick(other, Qt::Key_Tab);
    QVERIFY(!other->hasFocus());
    other->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks, 1);
    checked->setFocus();
    QTest::keyClicks(checked, QStringLiteral("Okafor"));
    QTest::keyClick(checked, Qt::Key_Tab);
    QVERIFY(other->hasFocus());
    checked->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks, 2);
}

QTEST_MAIN(TestFieldChecks)
#include "tst_fieldchecks.moc"
