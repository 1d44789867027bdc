#include "platform/FieldChecks.h"

#include <QApplication>
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
    void cleanup();
    void tabStaysWhileFailing();
    void mouseAndButtonsRefused();
    void enterOnDefaultRefused();
    void exemptCancelWorks();
    void passingFieldLetsGo();
    void neverEnteredIsNotChecked();

private:
    QDialog *form = nullptr;
    QLineEdit *checked = nullptr;
    QLineEdit *other = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    int okClicks = 0;
    int cancelClicks = 0;
};

void TestFieldChecks::init()
{
    form = new QDialog;
    auto *layout = new QVBoxLayout(form);
    checked = new QLineEdit(form);
    other = new QLineEdit(form);
    ok = new QPushButton(QStringLiteral("&OK"), form);
    cancel = new QPushButton(QStringLiteral("&Cancel"), form);
    ok->setDefault(true);
    for (QWidget *w : {static_cast<QWidget *>(checked), static_cast<QWidget *>(other),
                       static_cast<QWidget *>(ok), static_cast<QWidget *>(cancel)})
        layout->addWidget(w);
    okClicks = cancelClicks = 0;
    connect(ok, &QPushButton::clicked, this, [this] { ++okClicks; });
    connect(cancel, &QPushButton::clicked, this, [this] { ++cancelClicks; });
    auto *checks = new FieldChecks(form);
    checks->add(checked, [this] { return !checked->text().trimmed().isEmpty(); });
    checks->exempt(cancel);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    checked->setFocus();
    QTRY_VERIFY(checked->hasFocus());
}

void TestFieldChecks::cleanup()
{
    delete form;
    form = nullptr;
}

void TestFieldChecks::tabStaysWhileFailing()
{
    QTest::keyClick(checked, Qt::Key_Tab);
    QVERIFY(checked->hasFocus());
    QTest::keyClick(checked, Qt::Key_Backtab);
    QVERIFY(checked->hasFocus());
    // Typing is still possible.
    QTest::keyClicks(checked, QStringLiteral("Ade"));
    QCOMPARE(checked->text(), QStringLiteral("Ade"));
}

void TestFieldChecks::mouseAndButtonsRefused()
{
    QTest::mouseClick(other, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks, 0);
    QVERIFY(checked->hasFocus());
    // Clicking inside the field itself moves the caret as usual.
    QTest::mouseClick(checked, Qt::LeftButton);
    QVERIFY(checked->hasFocus());
}

void TestFieldChecks::enterOnDefaultRefused()
{
    QTest::keyClick(checked, Qt::Key_Return);
    QCOMPARE(okClicks, 0);
    QVERIFY(form->isVisible());
}

void TestFieldChecks::exemptCancelWorks()
{
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(cancelClicks, 1);
    QVERIFY(cancel->hasFocus());
}

void TestFieldChecks::passingFieldLetsGo()
{
    QTest::keyClicks(checked, QStringLiteral("Okafor"));
    QTest::keyClick(checked, Qt::Key_Tab);
    QVERIFY(other->hasFocus());
    checked->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks, 1);
}

void TestFieldChecks::neverEnteredIsNotChecked()
{
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::keyClick(other, Qt::Key_Tab);
    QVERIFY(!other->hasFocus());
    other->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(okClicks, 1);
}

QTEST_MAIN(TestFieldChecks)
#include "tst_fieldchecks.moc"
