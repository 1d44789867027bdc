#include "TestProgram.h"
#include "Widgets.h"
#include "app/Login.h"
#include "app/ModifyPassword.h"
#include "app/Password.h"
#include "app/SettingsStore.h"
#include "app/StartupSteps.h"
#include "platform/KeyValueFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const QString Kestrel = QStringLiteral("Kestrel");
const QString Cannot = QStringLiteral("Can not store password now.");
const QString Stop = QStringLiteral("stop wave");
const QString PwKey = QStringLiteral("Software\\VELMORAN\\KOLVANE100\\PwInf");

// A program folder whose operator password is `password` (null: none set).
// A set one is kept in the settings file, here one made by hand that others may read.
void prepare(TestProgram &p, const QString &password)
{
    StartupSteps::setSoundPaths(*p.state);
    p.state->PasswordHash = password.isNull() ? QString() : HashPassword(password);
    const QString file = SettingsStore::fileIn(p.appPath());
    if (!password.isNull() && QFileInfo(p.file(QStringLiteral("Progs"))).isDir()) {
        QVERIFY(SettingsStore(file, p.messages)
                    .WriteSetting(p.state->PasswordHash, QStringLiteral("PwInf")));
        QVERIFY(QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::ReadOther));
    }
}

QLineEdit *box(QWidget *form, int i = -1)
{
    return widget<QLineEdit>(form, i < 0 ? u"txtPassword"_s : u"txtPassword(%1)"_s.arg(i));
}

// One fresh prompt: types each entry and presses OK, by Enter and by mouse in
// turn; Cancel if it is still open after the entries.
bool tryPrompt(TestProgram &p, const QStringList &entries)
{
    Login login(*p.state);
    if (!showActive(&login))
        return false;
    for (int i = 0; i < entries.size() && login.isVisible(); ++i) {
        QTest::keyClicks(box(&login), entries.at(i));
        if (i % 2)
            QTest::mouseClick(widget(&login, "cmdOK"), Qt::LeftButton);
        else
            QTest::keyClick(box(&login), Qt::Key_Return);
    }
    if (login.isVisible())
        QTest::mouseClick(widget(&login, "cmdCancel"), Qt::LeftButton);
    return p.state->LoginGranted;
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void hash();
    void prompt();
    void changeRefused();
    void changeStored_data();
    void changeStored();
};

void TestLogin::hash()
{
    const QString a = HashPassword(Kestrel);
    QVERIFY(a.startsWith(QStringLiteral("$argon2id$")));
    QVERIFY(a != HashPassword(Kestrel)); // salted
    // Letter case is ignored beyond ASCII too; spaces only are trimmed.
    QVERIFY(PasswordMatches(HashPassword(QString::fromUtf8("ÇAĞLAR Öz")),
                            QString::fromUtf8("çağlar öZ")));
    QCOMPARE(TrimSpaces(QStringLiteral("  kes  trel\t  ")), QStringLiteral("kes  trel\t"));
    // With none set only an empty entry matches.
    QVERIFY(!PasswordMatches(QString(), QStringLiteral(" ")));
    // A hand-edited record that is no hash refuses everything, crashes nothing.
    QVERIFY(!PasswordMatches(QStringLiteral("lertseK"), QStringLiteral("kestrel")));
    QVERIFY(!PasswordMatches(a + QString(200, u'x'), QStringLiteral("kestrel")));
}

// Three attempts per showing, each answered by the voice; however the prompt
// closes, its verdict is left in LoginGranted.
void TestLogin::prompt()
{
    TestProgram p;
    prepare(p, Kestrel);
    p.state->VoiceOn = true;
    const QStringList refusedTwice = {QStringLiteral("wave Identify.Wav -1"), Stop,
                                      QStringLiteral("wave TryAgain.Wav -2"), Stop,
                                      QStringLiteral("wave TryAgain.Wav -2"), Stop};
    QStringList denied = {QStringLiteral("wave Denied.Wav -1"), QStringLiteral("wait 5")};
    for (int i = 0; i < 5; ++i)
        denied << QStringLiteral("wave Siren1.Wav -2") << QStringLiteral("wait 1");
    // The third wrong entry plays the alarm; a verdict left over from before does not survive.
    p.state->LoginGranted = true;
    QVERIFY(!tryPrompt(p, {"hawk", "owl", "kestrel1"}));
    QCOMPARE(p.journal, refusedTwice + denied + QStringList{Stop});
    // The next showing has its own three attempts; blanks around and letter case aside.
    p.journal.clear();
    QVERIFY(tryPrompt(p, {"hawk", "", "  kESTREL "}));
    QCOMPARE(p.journal, refusedTwice + QStringList{QStringLiteral("wave Proceed.Wav -1")});
    // Cancel, Esc and the close box refuse even the right password, typed but not confirmed.
    for (int way = 0; way < 3; ++way) {
        p.state->LoginGranted = true;
        Login login(*p.state);
        QVERIFY(showActive(&login));
        grabPng(&login);
        QTest::keyClicks(box(&login), QStringLiteral("kestrel"));
        if (way == 0)
            QTest::mouseClick(widget(&login, "cmdCancel"), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(box(&login), Qt::Key_Escape);
        else
            QVERIFY(login.close());
        QCOMPARE(login.result(), int(QDialog::Rejected));
        QVERIFY2(!p.state->LoginGranted, qPrintable(QString::number(way)));
    }
    // Inner blanks count; with the voice off nothing plays.
    p.state->VoiceOn = false;
    p.journal.clear();
    QVERIFY(!tryPrompt(p, {"kes trel", "owl", "kite"}));
    QCOMPARE(p.journal, QStringList(4, Stop)); // at each OK and at the close
    // With none set, blanks get in.
    p.state->PasswordHash.clear();
    QVERIFY(tryPrompt(p, {"   "}));
}

// Entries the change form refuses keep the focus in the box at fault; Cancel
// then leaves the password as it was.
void TestLogin::changeRefused()
{
    TestProgram p;
    prepare(p, Kestrel);
    const QString before = p.state->PasswordHash;
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    grabPng(&form);
    const auto held = [&form](int i) { return box(&form, i)->hasFocus() && form.isVisible(); };
    // The old password ignores letter case but not blanks; by mouse into another box.
    for (const char *old : {" kestrel", "kestrel "}) {
        retype(box(&form, 0), QLatin1String(old));
        QTest::mouseClick(box(&form, 2), Qt::LeftButton);
        QTRY_VERIFY2(held(0), old);
    }
    retype(box(&form, 0), QStringLiteral("KESTREL"));
    QTest::keyClick(box(&form, 0), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 1), QStringLiteral("Osprey"));
    // OK checks both boxes itself, so going round them changes nothing: Enter in the new box.
    QTest::keyClick(box(&form, 1), Qt::Key_Return);
    QTRY_VERIFY(held(2));
    // The confirmation must equal the new password exactly.
    for (const char *confirm : {"osprey", "Osprey "}) {
        retype(box(&form, 2), QLatin1String(confirm));
        QTest::keyClick(box(&form, 2), Qt::Key_Backtab);
        QTRY_VERIFY2(held(2), confirm);
    }
    // The old box set from outside, as an accessibility tool may, without the focus passing through
    // it.
    retype(box(&form, 2), QStringLiteral("Osprey"));
    box(&form, 0)->setText(QStringLiteral("wrong"));
    QTest::keyClick(box(&form, 2), Qt::Key_Return);
    QTRY_VERIFY(held(0));
    QTest::mouseClick(widget(&form, "cmdCancel"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(p.state->PasswordHash, before);
    QCOMPARE(KeyValueFile(SettingsStore::fileIn(p.appPath())).read(PwKey), before);
    QVERIFY(p.messages.shown.isEmpty());
}

void TestLogin::changeStored_data()
{
    QTest::addColumn<QString>("password"); // null: none set; the old one is typed in capitals
    QTest::addColumn<QString>("fresh");    // also the confirmation
    QTest::addColumn<QString>("store");    // "ok", "fails" (Retry, Cancel), "back" (on Retry)
    QTest::newRow("blanks around") << Kestrel << u" Osprey "_s << u"ok"_s;
    // Blanks only store "no password", as start-up reads a missing record.
    QTest::newRow("blanks: none") << Kestrel << u"   "_s << u"ok"_s;
    QTest::newRow("none set before") << QString() << u"Osprey"_s << u"ok"_s;
    QTest::newRow("store fails") << Kestrel << u"Osprey"_s << u"fails"_s;
    QTest::newRow("store back on Retry") << Kestrel << u"Osprey"_s << u"back"_s;
}

// Accepted entries are stored, asking again while the store cannot be written.
void TestLogin::changeStored()
{
    QFETCH(QString, password);
    QFETCH(QString, fresh);
    QFETCH(QString, store);
    // A bare folder has no Progs, so the store cannot be written.
    TestProgram p(store == QLatin1String("ok") ? TestProgram::Full : TestProgram::Bare);
    prepare(p, password);
    const QString before = p.state->PasswordHash, file = SettingsStore::fileIn(p.appPath());
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
    QTest::keyClicks(box(&form, 0), password.toUpper());
    QTest::keyClick(box(&form, 0), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 1), fresh);
    QTest::keyClick(box(&form, 1), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 2), fresh);
    QTest::keyClick(box(&form, 2), Qt::Key_Return);
    QVERIFY(!form.isVisible());

    const bool changed = store != QLatin1String("fails");
    QCOMPARE(form.result(), int(changed ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(p.state->PasswordHash == before, !changed);
    // Each failed write is reported by the store, then the Retry/Cancel question.
    const int asked = store == QLatin1String("ok") ? 0 : changed ? 1 : 2;
    QCOMPARE(p.messages.shown.size(), 2 * asked);
    QCOMPARE(p.messages.texts().count(Cannot), asked);
    if (asked) {
        QCOMPARE(p.messages.texts().first(),
                 QStringLiteral("Error Creating Registry Key Entry:\r\nKey = ") + PwKey +
                     QStringLiteral("\r\nDLL Returned = %1").arg(ENOENT));
        QCOMPARE(p.messages.shown.at(1).icon, MessageBoxes::Icon::Critical);
        QCOMPARE(p.messages.shown.at(1).buttons,
                 MessageBoxes::Buttons(MessageBoxes::Retry) | MessageBoxes::Cancel);
    }
    // The store and the memory agree; the record is the owner's alone and holds
    // a hash, never the password.
    QCOMPARE(KeyValueFile(file).read(PwKey), changed ? p.state->PasswordHash : QString());
    if (changed) {
        QVERIFY(!(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
        const QByteArray bytes = fileBytes(file).toLower();
        for (const char *secret : {"osprey", "yerpso", "kestrel"})
            QVERIFY2(!bytes.contains(secret), secret);
    }
    // The next prompt takes the password in force, in any letter case, and refuses the other.
    QVERIFY(tryPrompt(p, {changed ? fresh.toUpper() : password.toLower()}));
    QVERIFY(!tryPrompt(p, {changed ? password : fresh}));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
