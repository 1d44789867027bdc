#include "Widgets.h"
#include "platform/FieldChecks.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class TestFieldChecks : public QObject
{
    Q_OBJECT
private slots:
    void failingFieldHoldsTheFocus();
};

// A small form with one checked field, a plain field, OK (default) and an exempt
// Cancel, driven as an operator would.
void TestFieldChecks::failingFieldHoldsTheFocus()
{
    QDialog form;
    auto *layout = new QVBoxLayout(&form);
    auto *checked = new QLineEdit(&form), *other = new QLineEdit(&form);
    auto *ok = new QPushButton(QStringLiteral("&OK"), &form),
         *cancel = new QPushButton(QStringLiteral("&Cancel"), &form);
    for (QWidget *w : QList<QWidget *>{checked, other, ok, cancel})
        layout->addWidget(w);
    ok->setDefault(true);
    QSignalSpy okClicks(ok, &QPushButton::clicked), cancelClicks(cancel, &QPushButton::clicked);
    auto *checks = new FieldChecks(&form);
    checks->add(checked, [checked] { return !checked->text().trimmed().isEmpty(); });
    checks->exempt(cancel);
    QVERIFY(showActive(&form));

    // An empty field never entered is not checked.
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks.size(), 1);

    // Neither Tab, Shift+Tab, a click on another field or button, nor Enter on the
    // default button gets past the failing field.
    checked->setFocus();
    QTRY_VERIFY(checked->hasFocus());
    QTest::keyClick(checked, Qt::Key_Tab);
    QVERIFY(checked->hasFocus());
    QTest::keyClick(checked, Qt::Key_Backtab);
    QVERIFY(checked->hasFocus());
    QTest::mouseClick(other, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
    QTest::keyClick(checked, Qt::Key_Return);
    QCOMPARE(okClicks.size(), 1);
    // The exempt Cancel still works.
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(cancelClicks.size(), 1);
    QVERIFY(cancel->hasFocus());

    // Clicking inside the field itself and typing work; once it passes, it lets go.
    QTest::mouseClick(checked, Qt::LeftButton);
    QTest::keyClicks(checked, "Okafor");
    QCOMPARE(checked->text(), "Okafor");
    QTest::keyClick(checked, Qt::Key_Tab);
    QVERIFY(other->hasFocus());
    checked->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks.size(), 2);
}

QTEST_MAIN(TestFieldChecks)
#include "tst_fieldchecks.moc"
