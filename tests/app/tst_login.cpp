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

namespace {

const QString Kestrel = QStringLiteral("Kestrel");
const QString Cannot = QStringLiteral("Can not store password now.");

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

QLineEdit *box(QWidget *form, int i = -1)
{
    return form->findChild<QLineEdit *>(i < 0 ? QStringLiteral("txtPassword")
                                              : QStringLiteral("txtPassword(%1)").arg(i));
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

void grab(QWidget *form, const QString &name)
{
    if (qEnvironmentVariableIsSet("KOLVANE_GRAB_DIR"))
        form->grab().save(qEnvironmentVariable("KOLVANE_GRAB_DIR") + u'/' + name);
}

// Types `entry` into the prompt and presses OK: with Enter, or with the mouse.
void answer(Login &login, const QString &entry, bool mouse = false)
{
    QTest::keyClicks(box(&login), entry);
    if (mouse)
        QTest::mouseClick(button(&login, "cmdOK"), Qt::LeftButton);
    else
        QTest::keyClick(box(&login), Qt::Key_Return);
}

// One fresh prompt, one answer; Cancel if it is still open.
bool promptAccepts(TestProgram &p, const QString &entry)
{
    Login login(*p.state);
    if (!showActive(&login))
        return false;
    answer(login, entry);
    if (login.isVisible())
        QTest::mouseClick(button(&login, "cmdCancel"), Qt::LeftButton);
    return p.state->LoginGranted;
}

void fillChange(ModifyPassword &form, const QString &old, const QString &fresh,
                const QString &confirm)
{
    QTest::keyClicks(box(&form, 0), old);
    QTest::keyClick(box(&form, 0), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 1), fresh);
    QTest::keyClick(box(&form, 1), Qt::Key_Tab);
    QTest::keyClicks(box(&form, 2), confirm);
}

QString storedPw(TestProgram &p)
{
    return KeyValueFile(SettingsStore::fileIn(p.appPath()))
        .read(SettingsStore::keyOf(QStringLiteral("PwInf")));
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void hashIsSaltedAndHidesThePassword();

    void promptLooks();
    void promptVerdict_data();
    void promptVerdict();
    void attempts_data();
    void attempts();
    void eachShowingHasThreeAttempts();
    void waysOut_data();
    void waysOut();

    void changeFormLooks();
    void focusChecks_data();
    void focusChecks();
    void okChecksTheBoxesItself_data();
    void okChecksTheBoxesItself();
    void successfulChange();
    void changeToNoPassword();
    void failingStore_data();
    void failingStore();
};

void TestLogin::hashIsSaltedAndHidesThePassword()
{
    const QString a = HashPassword(Kestrel);
    QVERIFY(a.startsWith(QStringLiteral("$argon2id$")));
    QVERIFY(a != HashPassword(Kestrel));
    QVERIFY(!a.contains(QStringLiteral("kestrel"), Qt::CaseInsensitive));
    QVERIFY(!a.contains(QStringLiteral("lertsek"), Qt::CaseInsensitive));
    // Letter case is ignored beyond ASCII too; blanks count at this level.
    QVERIFY(PasswordMatches(HashPassword(QString::fromUtf8("ÇAĞLAR Öz")),
                            QString::fromUtf8("çağlar öZ")));
    QVERIFY(!PasswordMatches(a, QStringLiteral(" kestrel")));
    // No password set: only an empty entry matches.
    QVERIFY(PasswordMatches(QString(), QString()));
    QVERIFY(!PasswordMatches(QString(), QStringLiteral(" ")));
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
    login.setWindowTitle(QStringLiteral("Login to revise fees."));
    auto *label = login.findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(label->text(), QStringLiteral("Password:"));
    QCOMPARE(label->buddy(), box(&login));
    QCOMPARE(box(&login)->echoMode(), QLineEdit::Password);
    QVERIFY(button(&login, "cmdOK")->isDefault());
    QVERIFY(showActive(&login));
    QVERIFY(box(&login)->hasFocus());
    QVERIFY(label->width() >= label->sizeHint().width());
    grab(&login, QStringLiteral("Login.png"));
}

void TestLogin::promptVerdict_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("granted");
    QTest::newRow("other case") << Kestrel << "kESTREL" << true;
    QTest::newRow("surrounding blanks") << Kestrel << "   kestrel  " << true;
    QTest::newRow("inner blank") << Kestrel << "kes trel" << false;
    QTest::newRow("empty") << Kestrel << "" << false;
    QTest::newRow("none set, empty") << QString() << "" << true;
    QTest::newRow("none set, blanks") << QString() << "    " << true;
    QTest::newRow("none set, text") << QString() << " x " << false;
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
    answer(login, entry);
    QCOMPARE(login.isVisible(), !granted);
    if (!granted) {
        // A first refusal leaves the prompt open, emptied, for another try.
        QVERIFY(box(&login)->text().isEmpty());
        QVERIFY(box(&login)->hasFocus());
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
    QTest::newRow("two wrong, voice")
        << true << QStringList{"hawk", "", " kestrel "} << true
        << QStringList{identify, stop, tryAgain, stop, tryAgain, stop, proceed};
    QTest::newRow("three wrong, voice")
        << true << QStringList{"hawk", "owl", "kestrel1"} << false
        << (QStringList{identify, stop, tryAgain, stop, tryAgain, stop} + denied +
            QStringList{stop});
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
    QVERIFY(showActive(&login));
    for (int i = 0; i < entries.size(); ++i) {
        QVERIFY2(login.isVisible(), "the prompt closed too early");
        answer(login, entries.at(i), i % 2 == 1);
    }
    QVERIFY(!login.isVisible());
    QCOMPARE(login.result(), int(granted ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(p.state->LoginGranted, granted);
    QCOMPARE(p.journal, journal);
}

void TestLogin::eachShowingHasThreeAttempts()
{
    TestProgram p;
    prepare(p, Kestrel);
    p.state->VoiceOn = false;
    for (int showing = 0; showing < 2; ++showing) {
        Login login(*p.state);
        QVERIFY(showActive(&login));
        answer(login, QStringLiteral("hawk"));
        answer(login, QStringLiteral("owl"));
        QVERIFY(login.isVisible());
        if (showing == 0)
            QTest::keyClick(&login, Qt::Key_Escape);
        else
            answer(login, QStringLiteral("kestrel"), true);
    }
    QVERIFY(p.state->LoginGranted);
}

void TestLogin::waysOut_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
    QTest::newRow("close box, shown modally") << "modal";
}

void TestLogin::waysOut()
{
    QFETCH(QString, way);
    TestProgram p;
    prepare(p, Kestrel);
    // A verdict left over from an earlier prompt must not survive.
    p.state->LoginGranted = true;
    Login login(*p.state);
    if (way == QLatin1String("modal")) {
        whenModalOpens(QStringLiteral("Login"), [](QDialog *d) {
            QTest::keyClicks(box(d), QStringLiteral("kestrel"));
            d->close();
        });
        QCOMPARE(login.exec(), int(QDialog::Rejected));
    } else {
        QVERIFY(showActive(&login));
        // Even the right password typed but not confirmed.
        QTest::keyClicks(box(&login), QStringLiteral("kestrel"));
        if (way == QLatin1String("cancel"))
            QTest::mouseClick(button(&login, "cmdCancel"), Qt::LeftButton);
        else if (way == QLatin1String("escape"))
            QTest::keyClick(box(&login), Qt::Key_Escape);
        else
            QVERIFY(login.close());
    }
    QVERIFY(!login.isVisible());
    QCOMPARE(login.result(), int(QDialog::Rejected));
    QCOMPARE(p.state->LoginGranted, false);
    QCOMPARE(p.journal,
             (QStringList{QStringLiteral("wave Identify.wav -1"), QStringLiteral("stop wave")}));
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
        QCOMPARE(label->text(), captions.at(i));
        QCOMPARE(label->buddy(), box(&form, i));
        QCOMPARE(box(&form, i)->echoMode(), QLineEdit::Password);
        QVERIFY(label->width() >= label->sizeHint().width());
    }
    QVERIFY(button(&form, "cmdOK")->isDefault());

    // Tab order: the three boxes top to bottom, then OK and Cancel; the boxes
    // are filled alike beforehand, so no check holds the focus.
    QVERIFY(box(&form, 0)->hasFocus());
    QTest::keyClicks(box(&form, 0), QStringLiteral("kestrel"));
    box(&form, 1)->setText(QStringLiteral("Osprey"));
    box(&form, 2)->setText(QStringLiteral("Osprey"));
    for (QWidget *next :
         {static_cast<QWidget *>(box(&form, 1)), static_cast<QWidget *>(box(&form, 2)),
          static_cast<QWidget *>(button(&form, "cmdOK")),
          static_cast<QWidget *>(button(&form, "cmdCancel"))}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    grab(&form, QStringLiteral("ModifyPassword.png"));

    // A mouse click into the middle of a box selects it all; typing replaces it.
    QTest::mouseClick(box(&form, 1), Qt::LeftButton, {}, QPoint(10, 5));
    QTRY_COMPARE(box(&form, 1)->selectionLength(), 6);
    QTest::keyClicks(box(&form, 1), QStringLiteral("Kite"));
    QCOMPARE(box(&form, 1)->text(), QStringLiteral("Kite"));
}

void TestLogin::focusChecks_data()
{
    QTest::addColumn<QString>("password"); // null: none set
    QTest::addColumn<int>("checked");      // 0: old password, 2: confirmation
    QTest::addColumn<QString>("typed");    // into the checked box
    QTest::addColumn<QString>("fresh");    // the new password, for the confirmation
    QTest::addColumn<bool>("leaves");
    const QString o = QStringLiteral("Osprey");
    QTest::newRow("old, other case") << Kestrel << 0 << "KESTREL" << o << true;
    QTest::newRow("old, leading blank") << Kestrel << 0 << " kestrel" << o << false;
    QTest::newRow("old, trailing blank") << Kestrel << 0 << "kestrel " << o << false;
    QTest::newRow("old, empty") << Kestrel << 0 << "" << o << false;
    QTest::newRow("old, none set, empty") << QString() << 0 << "" << o << true;
    QTest::newRow("old, none set, blank") << QString() << 0 << " " << o << false;
    QTest::newRow("confirm, equal") << Kestrel << 2 << "Osprey" << o << true;
    QTest::newRow("confirm, other case") << Kestrel << 2 << "osprey" << o << false;
    QTest::newRow("confirm, extra blank") << Kestrel << 2 << "Osprey " << o << false;
    QTest::newRow("confirm, both with blanks") << Kestrel << 2 << " Osprey "
                                               << " Osprey " << true;
}

void TestLogin::focusChecks()
{
    QFETCH(QString, password);
    QFETCH(int, checked);
    QFETCH(QString, typed);
    QFETCH(QString, fresh);
    QFETCH(bool, leaves);
    TestProgram p;
    prepare(p, password);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    int target = 1;
    if (checked == 0) {
        QTest::keyClicks(box(&form, 0), typed);
        // By mouse: a refused press leaves the focus where it was.
        QTest::mouseClick(box(&form, 2), Qt::LeftButton);
        target = 2;
    } else {
        fillChange(form, QStringLiteral("kestrel"), fresh, typed);
        QTest::keyClick(box(&form, 2), Qt::Key_Backtab);
    }
    QCOMPARE(box(&form, target)->hasFocus(), leaves);
    QCOMPARE(box(&form, checked)->hasFocus(), !leaves);
    QCOMPARE(box(&form, checked)->text(), typed);
    if (!leaves) {
        // Neither Tab nor Enter gets past it.
        QTest::keyClick(box(&form, checked), Qt::Key_Tab);
        QVERIFY(box(&form, checked)->hasFocus());
        QTest::keyClick(box(&form, checked), Qt::Key_Return);
        QVERIFY(form.isVisible());
    }
    QVERIFY(p.messages.shown.isEmpty());
}

void TestLogin::okChecksTheBoxesItself_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("focusBox");
    QTest::newRow("OK clicked from the new box") << "click" << 2;
    QTest::newRow("Enter in the new box") << "enter" << 2;
    QTest::newRow("old box changed from outside") << "old set" << 0;
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
    if (how == QLatin1String("old set")) {
        fillChange(form, QStringLiteral("kestrel"), QStringLiteral("Osprey"),
                   QStringLiteral("Osprey"));
        // As an accessibility tool may, without the focus passing through it.
        box(&form, 0)->setText(QStringLiteral("wrong"));
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        // The confirmation box is never entered, so its own check never runs.
        QTest::keyClicks(box(&form, 0), QStringLiteral("kestrel"));
        QTest::keyClick(box(&form, 0), Qt::Key_Tab);
        QTest::keyClicks(box(&form, 1), QStringLiteral("Osprey"));
        if (how == QLatin1String("click"))
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            QTest::keyClick(box(&form, 1), Qt::Key_Return);
    }
    QVERIFY(form.isVisible());
    QTRY_VERIFY(box(&form, focusBox)->hasFocus());
    QCOMPARE(p.state->PasswordHash, before);
    QVERIFY(!QFile::exists(SettingsStore::fileIn(p.appPath())));

    // Cancel works even now, and changes nothing.
    QTest::mouseClick(button(&form, "cmdCancel"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(p.state->PasswordHash, before);
    QVERIFY(p.messages.shown.isEmpty());
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
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(p.messages.shown.isEmpty());

    // The store and the memory agree, and hold a hash, not the password.
    const QString hash = p.state->PasswordHash;
    QVERIFY(hash.startsWith(QStringLiteral("$argon2id$")));
    QCOMPARE(storedPw(p), hash);
    QFile file(SettingsStore::fileIn(p.appPath()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll().toLower();
    for (const char *secret : {"osprey", "yerpso", "kestrel"})
        QVERIFY2(!bytes.contains(secret), secret);

    // The new password, blanks trimmed, is the one the prompt now wants.
    QVERIFY(promptAccepts(p, QStringLiteral("  OSPREY ")));
    QVERIFY(!promptAccepts(p, QStringLiteral("kestrel")));

    // A later change needs it exactly as stored: no blanks.
    ModifyPassword next(*p.state);
    QVERIFY(showActive(&next));
    QTest::keyClicks(box(&next, 0), QStringLiteral(" Osprey "));
    QTest::keyClick(box(&next, 0), Qt::Key_Tab);
    QVERIFY(box(&next, 0)->hasFocus());
    box(&next, 0)->setText(QStringLiteral("osprey"));
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

void TestLogin::failingStore_data()
{
    QTest::addColumn<bool>("folderBack"); // the folder is made while the question shows
    QTest::newRow("Retry then Cancel") << false;
    QTest::newRow("Retry after the folder is back") << true;
}

void TestLogin::failingStore()
{
    QFETCH(bool, folderBack);
    // No Progs folder: the store cannot be written.
    TestProgram p(TestProgram::Bare);
    prepare(p, Kestrel);
    const QString before = p.state->PasswordHash;
    if (folderBack)
        p.messages.onShow = [&p](const QString &text) {
            if (text == Cannot)
                QDir().mkpath(p.file(QStringLiteral("Progs")));
        };
    for (auto answer :
         {MessageBoxes::Ok, MessageBoxes::Retry, MessageBoxes::Ok, MessageBoxes::Cancel})
        p.messages.setNextAnswer(answer);
    ModifyPassword form(*p.state);
    QVERIFY(showActive(&form));
    fillChange(form, QStringLiteral("kestrel"), QStringLiteral("Osprey"), QStringLiteral("Osprey"));
    QTest::mouseClick(button(&form, "cmdOK"), Qt::LeftButton);

    const QString failure = QStringLiteral("Error Creating Registry Key Entry:\r\n"
                                           "Key = Software\\VELMORAN\\KOLVANE100\\PwInf\r\n"
                                           "DLL Returned = %1")
                                .arg(ENOENT);
    QStringList expected{failure, Cannot};
    if (!folderBack)
        expected << failure << Cannot;
    QCOMPARE(p.messages.texts(), expected);
    QCOMPARE(p.messages.shown.at(1).icon, MessageBoxes::Icon::Critical);
    QCOMPARE(p.messages.shown.at(1).buttons,
             MessageBoxes::Buttons(MessageBoxes::Retry) | MessageBoxes::Cancel);
    QVERIFY(!form.isVisible());
    p.messages.clear();
    if (folderBack) {
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(storedPw(p), p.state->PasswordHash);
        QVERIFY(promptAccepts(p, QStringLiteral("osprey")));
    } else {
        // The old password stays in force.
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(p.state->PasswordHash, before);
        QVERIFY(!QFile::exists(SettingsStore::fileIn(p.appPath())));
        QVERIFY(promptAccepts(p, QStringLiteral("kestrel")));
        QVERIFY(!promptAccepts(p, QStringLiteral("osprey")));
    }
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
