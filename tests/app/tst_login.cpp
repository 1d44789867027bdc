#include "Modal.h"
#include "TestProgram.h"
#include "app/Login.h"
#include "app/ModifyPassword.h"
#include "app/Password.h"
#include "app/SettingsStore.h"
#include "platform/KeyValueFile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <memory>

namespace {

const QString Kestrel = QStringLiteral("Kestrel");

// A program folder whose operator password is `password` (null: none set).
void prepare(TestProgram &p, const QString &password)
{
    AppState &s = *p.state;
    s.IdentifyWav = p.file(QStringLiteral("Sounds/Wav/Identify.wav"));
    s.ProceedWav = p.file(QStringLiteral("Sounds/Wav/Proceed.wav"));
    s.DeniedWav = p.file(QStringLiteral("Sounds/Wav/Denied.wav"));
    s.TryAgainWav = p.file(QStringLiteral("Sounds/Wav/TryAgain.wav"));
    s.SirenWav = p.file(QStringLiteral("Sounds/Wav/Siren.wav"));
    s.PasswordHash = password.isNull() ? QString() : HashPassword(password);
}

QLineEdit *box(QWidget *form, const QString &name)
{
    return form->findChild<QLineEdit *>(name);
}

QLineEdit *box(QWidget *form, int i)
{
    return box(form, QStringLiteral("txtPassword(%1)").arg(i));
}

QPushButton *button(QWidget *form, const char *name)
{
    return form->findChild<QPushButton *>(QString::fromLatin1(name));
}

bool showActive(QWidget *form)
{
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        return false;
    form->activateWindow();
    return QTest::qWaitForWindowActive(form);
}

QByteArray fileBytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString storeFailure = QStringLiteral("Error Creating Registry Key Entry:\r\n"
                                            "Key = Software\\VELMORAN\\KOLVANE100\\PwInf\r\n"
                                            "DLL Returned = %1")
                                 .arg(ENOENT);

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void hashing_data();
    void hashing();
    void hashIsSaltedAndHidesThePassword();

    void promptLooks();
    void promptVerdict_data();
    void promptVerdict();
    void attempts_data();
    void attempts();
    void eachShowingHasThreeAttempts();
    void waysOut_data();
    void waysOut();
    void closeBoxOfModalPrompt();

    void changeFormLooks();
    void oldPasswordCheck_data();
    void oldPasswordCheck();
    void confirmationCheck_data();
    void confirmationCheck();
    void focusSelectsWholeText();
    void okChecksTheBoxesItself_data();
    void okChecksTheBoxesItself();
    void cancelLeavesEverything();
    void successfulChange();
    void changeToNoPassword();
    void failingStoreRetryThenCancel();
    void retryAfterTheFolderIsBack();

private:
    // Types `entry` and presses OK: with Enter, or with the mouse.
    static void answer(Login &login, const QString &entry, bool mouse);
    static bool promptAccepts(TestProgram &p, const QString &entry);
    static void fillChange(ModifyPassword &form, const QString &old, const QString &fresh,
                           const QString &confirm);
};

void TestLogin::answer(Login &login, const QString &entry, bool mouse)
{
    QLineEdit *txt = box(&login, QStringLiteral("txtPassword"));
    QTest::keyClicks(txt, entry);
    if (mouse)
        QTest::mouseClick(button(&login, "cmdOK"), Qt::LeftButton);
    else
        QTest::keyClick(txt, Qt::Key_Return);
}

// One fresh prompt, one answer; Cancel if it is still open.
bool TestLogin::promptAccepts(TestProgram &p, const QString &entry)
{
    Login login(*p.state);
    if (!showActive(&login))
        return false;
    answer(login, entry, false);
    if (login.isVisible())
        QTest::mouseClick(button(&login, "cmdCancel"), Qt::LeftButton);
    return p.state->LoginGranted;
}

void TestLogin::fillChange(ModifyPassword &form, const QString &old, const QString &fresh,
                           const QString &confirm)
{
    QTest::keyClicks(box(&form, 0), old);
    QTest::keyClick(box(&form, 0), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 1), fresh);
    QTest::keyClick(box(&form, 1), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 2), confirm);
}

void TestLogin::hashing_data()
{
    QTest::addColumn<QString>("password"); // null: none set
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << Kestrel << "Kestrel" << true;
    QTest::newRow("lower case") << Kestrel << "kestrel" << true;
    QTest::newRow("upper case") << Kestrel << "KESTREL" << true;
    QTest::newRow("blanks count here") << Kestrel << " kestrel" << false;
    QTest::newRow("shorter") << Kestrel << "kestre" << false;
    QTest::newRow("longer") << Kestrel << "kestrels" << false;
    QTest::newRow("empty entry") << Kestrel << "" << false;
    QTest::newRow("non-ASCII case")
        << QString::fromUtf8("ÇAĞLAR Öz") << QString::fromUtf8("çağlar öZ") << true;
    QTest::newRow("inner blanks kept") << "two words"
                                       << "TWO WORDS" << true;
    QTest::newRow("none set, empty") << QString() << "" << true;
    QTest::newRow("none set, blank") << QString() << " " << false;
    QTest::newRow("none set, text") << QString() << "kestrel" << false;
}

void TestLogin::hashing()
{
    QFETCH(QString, password);
    QFETCH(QString, entry);
    QFETCH(bool, matches);
    const QString hash = password.isNull() ? QString() : HashPassword(password);
    QCOMPARE(hash.isEmpty(), password.isNull());
    QCOMPARE(PasswordMatches(hash, entry), matches);
}

void TestLogin::hashIsSaltedAndHidesThePassword()
{
    const QString a = HashPassword(Kestrel);
    const QString b = HashPassword(Kestrel);
    QVERIFY(a.startsWith(QStringLiteral("$argon2id$")));
    QVERIFY(a != b);
    QVERIFY(!a.contains(QStringLiteral("kestrel"), Qt::CaseInsensitive));
    QVERIFY(!a.contains(QStringLiteral("lertsek"), Qt::CaseInsensitive));
    QVERIFY(PasswordMatches(b, QStringLiteral("kestrel")));
    // A hand-edited record that is no hash refuses everything, crashes nothing.
    QVERIFY(!PasswordMatches(QStringLiteral("lertseK"), QStringLiteral("kestrel")));
    QVERIFY(!PasswordMatches(QStringLiteral("lertseK"), QString()));
    QVERIFY(!PasswordMatches(a + QString(200, u'x'), QStringLiteral("kestrel")));
}

void TestLogin::promptLooks()
{
    TestProgram p;
    prepare(p, Kestrel);
    Login login(*p.state);
    QCOMPARE(login.objectName(), QStringLiteral("Login"));
    QCOMPARE(login.windowTitle(), QStringLiteral("Login"));
    login.setWindowTitle(QStringLiteral("Login to revise fees."));
    auto *label = login.findChild<QLabel *>(QStringLiteral("Label1"));
    QLineEdit *txt = box(&login, QStringLiteral("txtPassword"));
    QVERIFY(label && txt);
    QCOMPARE(label->text(), QStringLiteral("Password:"));
    QCOMPARE(label->buddy(), txt);
    QCOMPARE(txt->echoMode(), QLineEdit::Password);
    QCOMPARE(button(&login, "cmdOK")->text(), QStringLiteral("OK"));
    QVERIFY(button(&login, "cmdOK")->isDefault());
    QCOMPARE(button(&login, "cmdCancel")->text(), QStringLiteral("Cancel"));
    QVERIFY(showActive(&login));
    QVERIFY(txt->hasFocus());
    QVERIFY(label->width() >= label->sizeHint().width());
    if (qEnvironmentVariableIsSet("KOLVANE_GRAB_DIR"))
        login.grab().save(qEnvironmentVariable("KOLVANE_GRAB_DIR") + QStringLiteral("/Login.png"));
}

void TestLogin::promptVerdict_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("granted");
    QTest::newRow("exact") << Kestrel << "Kestrel" << true;
    QTest::newRow("other case") << Kestrel << "kESTREL" << true;
    QTest::newRow("surrounding blanks") << Kestrel << "   kestrel  " << true;
    QTest::newRow("inner blank") << Kestrel << "kes trel" << false;
    QTest::newRow("wrong") << Kestrel << "osprey" << false;
    QTest::newRow("empty") << Kestrel << "" << false;
    QTest::newRow("none set, empty") << QString() << "" << true;
    QTest::newRow("none set, blanks") << QString() << "    " << true;
    QTest::newRow("none set, text") << QString() << "kestrel" << false;
    QTest::newRow("none set, blanked text") << QString() << " x " << false;
}

void TestLogin::promptVerdict()
{
    QFETCH(QString, password);
    QFETCH(QString, entry);
    QFETCH(bool, granted);
    TestProgram p;
    prepare(p, password);
    p.state->LoginGranted = !granted;
    Login login(*p.state);
    QVERIFY(showActive(&login));
    answer(login, entry, false);
    QLineEdit *txt = box(&login, QStringLiteral("txtPassword"));
    if (granted) {
        QVERIFY(!login.isVisible());
        QCOMPARE(login.result(), int(QDialog::Accepted));
    } else {
        // A first refusal leaves the prompt open, emptied, for another try.
        QVERIFY(login.isVisible());
        QVERIFY(txt->text().isEmpty());
        QVERIFY(txt->hasFocus());
        QTest::mouseClick(button(&login, "cmdCancel"), Qt::LeftButton);
        QVERIFY(!login.isVisible());
    }
    QCOMPARE(p.state->LoginGranted, granted);
}

void TestLogin::attempts_data()
{
    QTest::addColumn<bool>("voice");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("granted");
    QTest::addColumn<QStringList>("journal");

    const QString identify = QStringLiteral("wave Identify.wav -1");
    const QString stop = QStringLiteral("stop wave");
    const QString proceed = QStringLiteral("wave Proceed.wav -1");
    const QString tryAgain = QStringLiteral("wave TryAgain.wav -2");
    QStringList denied = {QStringLiteral("wave Denied.wav -1"), QStringLiteral("wait 5")};
    for (int i = 0; i < 5; ++i)
        denied << QStringLiteral("wave Siren.wav -2") << QStringLiteral("wait 1");

    QTest::newRow("right at once, voice")
        << true << QStringList{"kestrel"} << true << QStringList{identify, stop, proceed};
    QTest::newRow("one wrong, voice") << true << QStringList{"hawk", "KESTREL"} << true
                                      << QStringList{identify, stop, tryAgain, stop, proceed};
    QTest::newRow("two wrong, voice")
        << true << QStringList{"hawk", "", " kestrel "} << true
        << QStringList{identify, stop, tryAgain, stop, tryAgain, stop, proceed};
    QTest::newRow("three wrong, voice")
        << true << QStringList{"hawk", "owl", "kestrel1"} << false
        << (QStringList{identify, stop, tryAgain, stop, tryAgain, stop} + denied +
            QStringList{stop});
    QTest::newRow("right at once, silent")
        << false << QStringList{"kestrel"} << true << QStringList{stop};
    QTest::newRow("two wrong, silent")
        << false << QStringList{"hawk", "owl", "Kestrel"} << true << QStringList{stop, stop, stop};
    QTest::newRow("three wrong, silent") << false << QStringList{"hawk", "owl", "kite"} << false
                                         << QStringList{stop, stop, stop, stop};
}

void TestLogin::attempts()
{
    QFETCH(bool, voice);
    QFETCH(QStringList, entries);
    QFETCH(bool, granted);
    QFETCH(QStringList, journal);
    TestProgram p;
    prepare(p, Kestrel);
    p.state->VoiceOn = voice;
    Login login(*p.state);
    login.setWindowTitle(QStringLiteral("Login to Set Term."));
    QVERIFY(showActive(&login));
    for (int i = 0; i < entries.size(); ++i) {
        QVERIFY2(login.isVisible(), "the prompt closed too early");
        answer(login, entries.at(i), i % 2 == 1);
    }
    QVERIFY(!login.isVisible());
    QCOMPARE(login.result(), int(granted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(p.state->LoginGranted, granted);
    QCOMPARE(p.journal, journal);
    QCOMPARE(login.windowTitle(), QStringLiteral("Login to Set Term."));
    QVERIFY(p.messages.shown.isEmpty());
}

void TestLogin::eachShowingHasThreeAttempts()
{
    TestProgram p;
    prepare(p, Kestrel);
    p.state->VoiceOn = false;
    {
        Login first(*p.state);
        QVERIFY(showActive(&first));
        answer(first, QStringLiteral("hawk"), false);
        answer(first, QStringLiteral("owl"), false);
        QTest::keyClick(&first, Qt::Key_Escape);
        QVERIFY(!first.isVisible());
    }
    Login second(*p.state);
    QVERIFY(showActive(&second));
    answer(second, QStringLiteral("hawk"), false);
    answer(second, QStringLiteral("owl"), false);
    QVERIFY(second.isVisible());
    answer(second, QStringLiteral("kestrel"), true);
    QVERIFY(p.state->LoginGranted);
}

void TestLogin::waysOut_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void TestLogin::waysOut()
{
    QFETCH(QString, way);
    TestProgram p;
    prepare(p, Kestrel);
    // A verdict left over from an earlier prompt must not survive.
    p.state->LoginGranted = true;
    Login login(*p.state);
    QVERIFY(showActive(&login));
    // Even the right password typed but not confirmed.
    QTest::keyClicks(box(&login, QStringLiteral("txtPassword")), QStringLiteral("kestrel"));
    if (way == QStringLiteral("cancel"))
        QTest::mouseClick(button(&login, "cmdCancel"), Qt::LeftButton);
    else if (way == QStringLiteral("escape"))
        QTest::keyClick(box(&login, QStringLiteral("txtPassword")), Qt::Key_Escape);
    else
        QVERIFY(login.close());
    QVERIFY(!login.isVisible());
    QCOMPARE(login.result(), int(QDialog::Rejected));
    QCOMPARE(p.state->LoginGranted, false);
    QCOMPARE(p.journal,
             (QStringList{QStringLiteral("wave Identify.wav -1"), QStringLiteral("stop wave")}));
}

void TestLogin::closeBoxOfModalPrompt()
{
    TestProgram p;
    prepare(p, Kestrel);
    p.state->LoginGranted = true;
    bool driven = false;
    whenModalOpens(QStringLiteral("Login"), [&driven](QDialog *d) {
        driven = true;
        QTest::keyClicks(box(d, QStringLiteral("txtPassword")), QStringLiteral("kestrel"));
        d->close();
    });
    Login login(*p.state);
    login.setWindowTitle(QStringLiteral("Login to modify records."));
    QCOMPARE(login.exec(), int(QDialog::Rejected));
    QVERIFY(driven);
    QCOMPARE(p.state->LoginGranted, false);

    // The same prompt shown modally and answered grants.
    whenModalOpens(QStringLiteral("Login"), [](QDialog *d) {
        QTest::keyClicks(box(d, QStringLiteral("txtPassword")), QStringLiteral("KESTREL"));
        QTest::keyClick(box(d, QStringLiteral("txtPassword")), Qt::Key_Return);
    });
    Login again(*p.state);
    QCOMPARE(again.exec(), int(QDialog::Accepted));
    QCOMPARE(p.state->LoginGranted, true);
}

void TestLogin::changeFormLooks()
{
    TestProgram p;
    prepare(p, Kestrel);
    ModifyPassword form(*p.state);
    QCOMPARE(form.windowTitle(), QStringLiteral("Modify Password"));
    const QStringList captions = {QStringLiteral("&Old Password:"),
                                  QStringLiteral("&New Password:"),
                                  QStringLiteral("&Confirm New Password:")};
    QVERIFY(showActive(&form));
    for (int i = 0; i < 3; ++i) {
        auto *label = form.findChild<QLabel *>(QStringLiteral("lblPassword(%1)").arg(i));
        QVERIFY(label && box(&form, i));
        QCOMPARE(label->text(), captions.at(i));
        QCOMPARE(label->buddy(), box(&form, i));
        QCOMPARE(box(&form, i)->echoMode(), QLineEdit::Password);
        QVERIFY(label->width() >= label->sizeHint().width());
        if (i > 0)
            QVERIFY(box(&form, i)->y() > box(&form, i - 1)->y());
    }
    QVERIFY(button(&form, "cmdOK")->isDefault());
    QCOMPARE(button(&form, "cmdCancel")->text(), QStringLiteral("Cancel"));

    // Tab order: the three boxes top to bottom, then OK and Cancel.
    QVERIFY(box(&form, 0)->hasFocus());
    QTest::keyClicks(box(&form, 0), QStringLiteral("kestrel"));
    // The new boxes filled alike beforehand, so no check holds the focus.
    QTest::keyClicks(box(&form, 1), QStringLiteral("Osprey"));
    QTest::keyClicks(box(&form, 2), QStringLiteral("Osprey"));
    const QList<QWidget *> order = {box(&form, 1), box(&form, 2), button(&form, "cmdOK"),
                                    button(&form, "cmdCancel")};
    for (QWidget *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    if (qEnvironmentVariableIsSet("KOLVANE_GRAB_DIR"))
        form.grab().save(qEnvironmentVariable("KOLVANE_GRAB_DIR") +
                         QStringLiteral("/ModifyPassword.png"));
}

void TestLogin::oldPasswordCheck_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("exact") << Kestrel << "Kestrel" << true;
    QTest::newRow("other case") << Kestrel << "KESTREL" << true;
    QTest::newRow("leading blank") << Kestrel << " kestrel" << false;
    QTest::newRow("trailing blank") << Kestrel << "kestrel " << false;
    QTest::newRow("wrong") << Kestrel << "osprey" << false;
    QTest::newRow("empty") << Kestrel << "" << false;
    QTest::newRow("none set, empty") << QString() << "" << true;
    QTest::newRow("none set, blank") << QString() << " " << false;
    QTest::newRow("none set, text") << QString() << "kestrel" << false;
}

void TestLogin::oldPasswordCheck()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, leaves);
    TestProgram p;
    prepare(p, password);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    QTest::keyClicks(box(&form, 0), typed);
    // By mouse first: a refused press leaves the focus where it was.
    QTest::mouseClick(box(&form, 2), Qt::LeftButton);
    QCOMPARE(box(&form, 2)->hasFocus(), leaves);
    QCOMPARE(box(&form, 0)->hasFocus(), !leaves);
    if (!leaves) {
        QTest::keyClick(box(&form, 0), Qt::Key_Tab);
        QVERIFY(box(&form, 0)->hasFocus());
        QTest::keyClick(box(&form, 0), Qt::Key_Return);
        QVERIFY(form.isVisible());
    }
    QVERIFY(p.messages.shown.isEmpty());
}

void TestLogin::confirmationCheck_data()
{
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("equal") << "Osprey"
                           << "Osprey" << true;
    QTest::newRow("other case") << "Osprey"
                                << "osprey" << false;
    QTest::newRow("extra blank") << "Osprey"
                                 << "Osprey " << false;
    QTest::newRow("both with blanks") << " Osprey "
                                      << " Osprey " << true;
    QTest::newRow("shorter") << "Osprey"
                             << "Ospre" << false;
    QTest::newRow("both empty") << ""
                                << "" << true;
}

void TestLogin::confirmationCheck()
{
    QFETCH(QString, fresh);
    QFETCH(QString, confirm);
    QFETCH(bool, leaves);
    TestProgram p;
    prepare(p, Kestrel);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    fillChange(form, QStringLiteral("kestrel"), fresh, confirm);
    QVERIFY(box(&form, 2)->hasFocus());
    QTest::keyClick(box(&form, 2), Qt::Key_Backtab);
    QCOMPARE(box(&form, 1)->hasFocus(), leaves);
    QCOMPARE(box(&form, 2)->hasFocus(), !leaves);
    QCOMPARE(box(&form, 2)->text(), confirm);
    QVERIFY(form.isVisible());
}

void TestLogin::focusSelectsWholeText()
{
    TestProgram p;
    prepare(p, QString());
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    QTest::keyClick(box(&form, 0), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 1), QStringLiteral("Osprey"));
    QTest::keyClick(box(&form, 1), Qt::Key_Backtab);
    QVERIFY(box(&form, 0)->hasFocus());
    // A mouse click into the middle of the box still selects it all.
    QTest::mouseClick(box(&form, 1), Qt::LeftButton, {}, QPoint(10, 5));
    QVERIFY(box(&form, 1)->hasFocus());
    QTRY_COMPARE(box(&form, 1)->selectionLength(), 6);
    // Typing replaces what was there.
    QTest::keyClicks(box(&form, 1), QStringLiteral("Kite"));
    QCOMPARE(box(&form, 1)->text(), QStringLiteral("Kite"));
}

void TestLogin::okChecksTheBoxesItself_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("focusBox");
    QTest::newRow("OK clicked from the new box") << "click from new" << 2;
    QTest::newRow("Enter in the new box") << "enter in new" << 2;
    QTest::newRow("old box changed from outside") << "old set" << 0;
    QTest::newRow("wrong old password, OK clicked") << "wrong old" << 0;
}

// A stranger must not change the password by going round the boxes' checks.
void TestLogin::okChecksTheBoxesItself()
{
    QFETCH(QString, how);
    QFETCH(int, focusBox);
    TestProgram p;
    prepare(p, Kestrel);
    const QString before = p.state->PasswordHash;
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    QPushButton *ok = button(&form, "cmdOK");
    if (how.endsWith(QStringLiteral(" new"))) {
        // The confirmation box is never entered, so its own check never runs.
        QTest::keyClicks(box(&form, 0), QStringLiteral("kestrel"));
        QTest::keyClick(box(&form, 0), Qt::Key_Tab);
        QTest::keyClicks(box(&form, 1), QStringLiteral("Osprey"));
        QVERIFY(box(&form, 1)->hasFocus());
        if (how.startsWith(QStringLiteral("click")))
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            QTest::keyClick(box(&form, 1), Qt::Key_Return);
    } else if (how == QStringLiteral("old set")) {
        fillChange(form, QStringLiteral("kestrel"), QStringLiteral("Osprey"),
                   QStringLiteral("Osprey"));
        // As an accessibility tool may, without the focus passing through it.
        box(&form, 0)->setText(QStringLiteral("wrong"));
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        QTest::keyClicks(box(&form, 0), QStringLiteral("wrong"));
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    QVERIFY(form.isVisible());
    QTRY_VERIFY(box(&form, focusBox)->hasFocus());
    QCOMPARE(p.state->PasswordHash, before);
    QVERIFY(!QFile::exists(SettingsStore::fileIn(p.appPath())));
    QVERIFY(p.messages.shown.isEmpty());
}

void TestLogin::cancelLeavesEverything()
{
    TestProgram p;
    prepare(p, Kestrel);
    const QString before = p.state->PasswordHash;
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    // Cancel works even while the old-password box holds a wrong text.
    QTest::keyClicks(box(&form, 0), QStringLiteral("wrong"));
    QTest::mouseClick(button(&form, "cmdCancel"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(p.state->PasswordHash, before);
    QVERIFY(!QFile::exists(SettingsStore::fileIn(p.appPath())));
}

void TestLogin::successfulChange()
{
    TestProgram p;
    prepare(p, Kestrel);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    fillChange(form, QStringLiteral("KESTREL"), QStringLiteral(" Osprey "),
               QStringLiteral(" Osprey "));
    QTest::mouseClick(button(&form, "cmdOK"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(p.messages.shown.isEmpty());

    // The store and the memory agree, and hold a hash, not the password.
    const QString hash = p.state->PasswordHash;
    QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")));
    QCOMPARE(SettingsStore(SettingsStore::fileIn(p.appPath()), p.messages)
                 .ReadSetting(QStringLiteral("PwInf")),
             hash);
    const QByteArray bytes = fileBytes(SettingsStore::fileIn(p.appPath())).toLower();
    QVERIFY(!bytes.contains("osprey"));
    QVERIFY(!bytes.contains("yerpso"));
    QVERIFY(!bytes.contains("kestrel"));
    QVERIFY(PasswordMatches(hash, QStringLiteral("osprey")));

    // The new password, blanks trimmed, is the one the prompt now wants.
    QVERIFY(promptAccepts(p, QStringLiteral("OSPREY")));
    QVERIFY(promptAccepts(p, QStringLiteral("  osprey ")));
    QVERIFY(!promptAccepts(p, QStringLiteral("kestrel")));

    // A later change needs the new password exactly as stored: no blanks.
    ModifyPassword next(*p.state);
    QVERIFY(showActive(&next));
    QTest::keyClicks(box(&next, 0), QStringLiteral(" Osprey "));
    QTest::keyClick(box(&next, 0), Qt::Key_Tab);
    QVERIFY(box(&next, 0)->hasFocus());
    box(&next, 0)->clear();
    QTest::keyClicks(box(&next, 0), QStringLiteral("osprey"));
    QTest::keyClick(box(&next, 0), Qt::Key_Tab);
    QVERIFY(box(&next, 1)->hasFocus());
}

void TestLogin::changeToNoPassword()
{
    TestProgram p;
    prepare(p, Kestrel);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    fillChange(form, QStringLiteral("kestrel"), QStringLiteral("   "), QStringLiteral("   "));
    QTest::keyClick(box(&form, 2), Qt::Key_Return);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(p.state->PasswordHash, QString());
    bool found = false;
    QCOMPARE(KeyValueFile(SettingsStore::fileIn(p.appPath()))
                 .read(SettingsStore::keyOf(QStringLiteral("PwInf")), &found),
             QString());
    QVERIFY(found);
    QVERIFY(promptAccepts(p, QStringLiteral("  ")));
    QVERIFY(!promptAccepts(p, QStringLiteral("kestrel")));
}

void TestLogin::failingStoreRetryThenCancel()
{
    // No Progs folder: the store cannot be written.
    TestProgram p(TestProgram::Bare);
    prepare(p, Kestrel);
    const QString before = p.state->PasswordHash;
    p.messages.setNextAnswer(MessageBoxes::Ok);
    p.messages.setNextAnswer(MessageBoxes::Retry);
    p.messages.setNextAnswer(MessageBoxes::Ok);
    p.messages.setNextAnswer(MessageBoxes::Cancel);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    fillChange(form, QStringLiteral("kestrel"), QStringLiteral("Osprey"), QStringLiteral("Osprey"));
    QTest::mouseClick(button(&form, "cmdOK"), Qt::LeftButton);

    const QString cannot = QStringLiteral("Can not store password now.");
    QCOMPARE(p.messages.texts(), (QStringList{storeFailure, cannot, storeFailure, cannot}));
    QCOMPARE(p.messages.shown.at(0).icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(p.messages.shown.at(1).icon, MessageBoxes::Icon::Critical);
    QCOMPARE(p.messages.shown.at(1).buttons,
             MessageBoxes::Buttons(MessageBoxes::Retry) | MessageBoxes::Cancel);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(p.state->PasswordHash, before);
    QVERIFY(!QFile::exists(SettingsStore::fileIn(p.appPath())));
    p.messages.clear();
    QVERIFY(promptAccepts(p, QStringLiteral("kestrel")));
    QVERIFY(!promptAccepts(p, QStringLiteral("osprey")));
}

void TestLogin::retryAfterTheFolderIsBack()
{
    TestProgram p(TestProgram::Bare);
    prepare(p, Kestrel);
    const QString cannot = QStringLiteral("Can not store password now.");
    p.messages.onShow = [&p, &cannot](const QString &text) {
        if (text == cannot)
            QDir().mkpath(p.file(QStringLiteral("Progs")));
    };
    p.messages.setNextAnswer(MessageBoxes::Ok);
    p.messages.setNextAnswer(MessageBoxes::Retry);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    fillChange(form, QStringLiteral("kestrel"), QStringLiteral("Osprey"), QStringLiteral("Osprey"));
    QTest::keyClick(box(&form, 2), Qt::Key_Return);
    QCOMPARE(p.messages.texts(), (QStringList{storeFailure, cannot}));
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(PasswordMatches(p.state->PasswordHash, QStringLiteral("osprey")));
    QCOMPARE(SettingsStore(SettingsStore::fileIn(p.appPath()), p.messages)
                 .ReadSetting(QStringLiteral("PwInf")),
             p.state->PasswordHash);
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
