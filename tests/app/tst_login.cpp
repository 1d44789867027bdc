#include "TestProgram.h"
#include "Widgets.h"
#include "app/Login.h"
#include "app/ModifyPassword.h"
#include "app/Password.h"
#include "app/SettingsStore.h"
#include "app/StartupSteps.h"
#include "platform/KeyValueFile.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

const QString Kestrel = QStringLiteral("Kestrel");
const QString Cannot = QStringLiteral("Can not store password now.");
const QString Identify = QStringLiteral("wave Identify.Wav -1");
const QString Stop = QStringLiteral("stop wave");
const QString TryAgain = QStringLiteral("wave TryAgain.Wav -2");

// A program folder whose operator password is `password` (null: none set).
void prepare(TestProgram &p, const QString &password)
{
    StartupSteps::setSoundPaths(*p.state);
    p.state->PasswordHash = password.isNull() ? QString() : HashPassword(password);
}

QLineEdit *box(QWidget *form, int i = -1)
{
    return widget<QLineEdit>(form, i < 0 ? QStringLiteral("txtPassword")
                                         : QStringLiteral("txtPassword(%1)").arg(i));
}

// Types each entry and presses OK, by Enter and by mouse in turn.
void answer(QWidget *login, const QStringList &entries)
{
    for (int i = 0; i < entries.size() && login->isVisible(); ++i) {
        QTest::keyClicks(box(login), entries.at(i));
        if (i % 2)
            QTest::mouseClick(widget(login, "cmdOK"), Qt::LeftButton);
        else
            QTest::keyClick(box(login), Qt::Key_Return);
    }
}

// One fresh prompt; Cancel if it is still open after the entries.
bool tryPrompt(TestProgram &p, const QStringList &entries)
{
    Login login(*p.state);
    if (!showActive(&login))
        return false;
    answer(&login, entries);
    if (login.isVisible())
        QTest::mouseClick(widget(&login, "cmdCancel"), Qt::LeftButton);
    return p.state->LoginGranted;
}

void fillChange(ModifyPassword &form, const QString &old, const QString &fresh,
                const QString &confirm)
{
    QTest::keyClicks(box(&form, 0), old);
    QTest::keyClick(box(&form, 0), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 1), fresh);
    if (confirm.isNull())
        return;
    QTest::keyClick(box(&form, 1), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 2), confirm);
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void hash();
    void prompt_data();
    void prompt();
    void change_data();
    void change();
};

void TestLogin::hash()
{
    const QString a = HashPassword(Kestrel);
    QVERIFY(a.startsWith(QStringLiteral("$argon2id$")));
    QVERIFY(a != HashPassword(Kestrel)); // salted
    // Letter case is ignored beyond ASCII too.
    QVERIFY(PasswordMatches(HashPassword(QString::fromUtf8("ÇAĞLAR Öz")),
                            QString::fromUtf8("çağlar öZ")));
    // A hand-edited record that is no hash refuses everything, crashes nothing.
    QVERIFY(!PasswordMatches(QStringLiteral("lertseK"), QStringLiteral("kestrel")));
    QVERIFY(!PasswordMatches(a + QString(200, u'x'), QStringLiteral("kestrel")));
}

void TestLogin::prompt_data()
{
    QTest::addColumn<QString>("password"); // null: none set
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("way"); // out of a prompt still open after the entries
    QTest::addColumn<bool>("granted");
    QTest::addColumn<QStringList>("journal"); // empty: voice off, nothing played
    QStringList denied = {QStringLiteral("wave Denied.Wav -1"), QStringLiteral("wait 5")};
    for (int i = 0; i < 5; ++i)
        denied << QStringLiteral("wave Siren1.Wav -2") << QStringLiteral("wait 1");
    const QString proceed = QStringLiteral("wave Proceed.Wav -1");
    const QStringList twoWrong = {"hawk", "owl"};
    const QStringList refusedTwice = {Identify, Stop, TryAgain, Stop, TryAgain, Stop};

    QTest::newRow("other case, blanks") << Kestrel << QStringList{"  kESTREL "} << "" << true
                                        << QStringList{Identify, Stop, proceed};
    QTest::newRow("two wrong then right") << Kestrel << QStringList{"hawk", "", " kestrel "} << ""
                                          << true << refusedTwice + QStringList{proceed};
    QTest::newRow("three wrong, voice") << Kestrel << QStringList{"hawk", "owl", "kestrel1"} << ""
                                        << false << refusedTwice + denied + QStringList{Stop};
    QTest::newRow("three wrong, silent")
        << Kestrel << QStringList{"hawk", "owl", "kite"} << "" << false << QStringList{};
    QTest::newRow("inner blank, Cancel")
        << Kestrel << QStringList{"kes trel"} << "cancel" << false << QStringList{};
    QTest::newRow("two wrong, Esc") << Kestrel << twoWrong << "escape" << false << refusedTwice;
    QTest::newRow("two wrong, close box")
        << Kestrel << twoWrong << "close" << false << refusedTwice;
    QTest::newRow("none set, blanks")
        << QString() << QStringList{"   "} << "" << true << QStringList{};
    QTest::newRow("none set, text")
        << QString() << QStringList{" x "} << "cancel" << false << QStringList{};
}

void TestLogin::prompt()
{
    QFETCH(QString, password);
    QFETCH(QStringList, entries);
    QFETCH(QString, way);
    QFETCH(bool, granted);
    QFETCH(QStringList, journal);
    TestProgram p;
    prepare(p, password);
    p.state->VoiceOn = !journal.isEmpty();
    // A verdict left over from an earlier prompt must not survive.
    p.state->LoginGranted = !granted;
    Login login(*p.state);
    QVERIFY(showActive(&login));
    grabPng(&login);
    answer(&login, entries);
    QCOMPARE(login.isVisible(), !way.isEmpty());
    if (!way.isEmpty()) // even the right password typed but not confirmed is refused
        QTest::keyClicks(box(&login), QStringLiteral("kestrel"));
    if (way == QLatin1String("cancel"))
        QTest::mouseClick(widget(&login, "cmdCancel"), Qt::LeftButton);
    else if (way == QLatin1String("escape"))
        QTest::keyClick(box(&login), Qt::Key_Escape);
    else if (way == QLatin1String("close"))
        QVERIFY(login.close());
    QCOMPARE(login.result(), int(granted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(p.state->LoginGranted, granted);
    if (journal.isEmpty())
        QCOMPARE(p.journal, QStringList(p.journal.size(), Stop));
    else
        QCOMPARE(p.journal, journal);
    // The next showing has its own three attempts.
    p.state->VoiceOn = false;
    if (!password.isNull())
        QVERIFY(tryPrompt(p, QStringList{"hawk", "owl", "kestrel"}));
}

// The change form: entries it refuses keep the focus where the fault is;
// accepted ones are stored, asking again while the store cannot be written.
void TestLogin::change_data()
{
    QTest::addColumn<QString>("password"); // null: none set
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("confirm"); // null: that box is never entered
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("held");     // the box that keeps the focus; -1: the form closes
    QTest::addColumn<QString>("store"); // "ok", "fails" (Retry, Cancel), "back" (on Retry)
    const QString k = QStringLiteral("kestrel"), o = QStringLiteral("Osprey"), none;
    // The old password ignores letter case but not blanks; by mouse into another box.
    QTest::newRow("old, leading blank") << Kestrel << " kestrel" << o << none << "mouse" << 0 << "ok";
    QTest::newRow("old, trailing blank") << Kestrel << "kestrel " << o << none << "mouse" << 0 << "ok";
    QTest::newRow("old, empty") << Kestrel << "" << o << none << "mouse" << 0 << "ok";
    QTest::newRow("old, none set, blank") << QString() << " " << o << none << "mouse" << 0 << "ok";
    // The confirmation must equal the new password exactly.
    QTest::newRow("confirm, other case") << Kestrel << k << o << "osprey" << "backtab" << 2 << "ok";
    QTest::newRow("confirm, extra blank") << Kestrel << k << o << "Osprey " << "backtab" << 2 << "ok";
    // OK checks both boxes itself, so going round them changes nothing.
    QTest::newRow("OK clicked from the new box") << Kestrel << k << o << none << "click" << 2 << "ok";
    QTest::newRow("Enter in the new box") << Kestrel << k << o << none << "enter" << 2 << "ok";
    QTest::newRow("old box set from outside") << Kestrel << "wrong" << o << o << "set" << 0 << "ok";
    QTest::newRow("stored, other case, blanks")
        << Kestrel << "KESTREL" << " Osprey " << " Osprey " << "store" << -1 << "ok";
    // Blanks only store "no password", as start-up reads a missing record.
    QTest::newRow("stored, blanks: none") << Kestrel << k << "   " << "   " << "store" << -1 << "ok";
    QTest::newRow("stored, none set before") << QString() << "" << o << o << "store" << -1 << "ok";
    QTest::newRow("store fails") << Kestrel << k << o << o << "store" << -1 << "fails";
    QTest::newRow("store back on Retry") << Kestrel << k << o << o << "store" << -1 << "back";
}

void TestLogin::change()
{
    QFETCH(QString, password);
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, confirm);
    QFETCH(QString, how);
    QFETCH(int, held);
    QFETCH(QString, store);
    // A bare folder has no Progs, so the store cannot be written.
    TestProgram p(store == QLatin1String("ok") ? TestProgram::Full : TestProgram::Bare);
    prepare(p, password);
    const QString before = p.state->PasswordHash;
    if (store == QLatin1String("back"))
        p.messages.onShow = [&p](const QString &text) {
            if (text == Cannot)
                QDir().mkpath(p.file(QStringLiteral("Progs")));
        };
    for (auto answer :
         {MessageBoxes::Ok, MessageBoxes::Retry, MessageBoxes::Ok, MessageBoxes::Cancel})
        p.messages.setNextAnswer(answer);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    grabPng(&form);
    if (how == QLatin1String("mouse")) {
        QTest::keyClicks(box(&form, 0), old);
        QTest::mouseClick(box(&form, 2), Qt::LeftButton);
    } else {
        const bool set = how == QLatin1String("set");
        fillChange(form, set ? QStringLiteral("kestrel") : old, fresh, confirm);
        if (set) // as an accessibility tool may, without the focus passing through it
            box(&form, 0)->setText(old);
        if (how == QLatin1String("backtab"))
            QTest::keyClick(box(&form, 2), Qt::Key_Backtab);
        else if (how == QLatin1String("enter") || how == QLatin1String("store"))
            QTest::keyClick(box(&form, how == QLatin1String("enter") ? 1 : 2), Qt::Key_Return);
        else
            QTest::mouseClick(widget(&form, "cmdOK"), Qt::LeftButton);
    }
    if (held >= 0) { // the box's check holds the focus as on every checked form; Cancel gets out
        QTRY_VERIFY(box(&form, held)->hasFocus() && form.isVisible());
        QTest::mouseClick(widget(&form, "cmdCancel"), Qt::LeftButton);
    }
    QVERIFY(!form.isVisible());

    const bool changed = held < 0 && store != QLatin1String("fails");
    QCOMPARE(form.result(), int(changed ? QDialog::Accepted : QDialog::Rejected));
    // Each failed write is reported by the store, then the Retry/Cancel question.
    const int asked = store == QLatin1String("ok") ? 0 : changed ? 1 : 2;
    QCOMPARE(p.messages.shown.size(), 2 * asked);
    QCOMPARE(p.messages.texts().count(Cannot), asked);
    if (asked) {
        QCOMPARE(p.messages.shown.at(1).icon, MessageBoxes::Icon::Critical);
        QCOMPARE(p.messages.shown.at(1).buttons,
                 MessageBoxes::Buttons(MessageBoxes::Retry) | MessageBoxes::Cancel);
    }
    if (changed) {
        // The store and the memory agree, and hold a hash, never the password.
        bool found = false;
        const QString key = SettingsStore::keyOf(QStringLiteral("PwInf"));
        QCOMPARE(KeyValueFile(SettingsStore::fileIn(p.appPath())).read(key, &found),
                 p.state->PasswordHash);
        QVERIFY(found);
        QFile file(SettingsStore::fileIn(p.appPath()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll().toLower();
        for (const char *secret : {"osprey", "yerpso", "kestrel"})
            QVERIFY2(!bytes.contains(secret), secret);
    } else {
        QCOMPARE(p.state->PasswordHash, before);
        QVERIFY(!QFile::exists(SettingsStore::fileIn(p.appPath())));
    }
    // The next prompt takes the password in force, in any letter case, and refuses the other.
    const QString kept = password.isNull() ? QStringLiteral("") : QStringLiteral("kESTREL");
    QVERIFY(tryPrompt(p, {changed ? fresh.toUpper() : kept}));
    QVERIFY(!tryPrompt(p, {changed ? old : fresh}));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
