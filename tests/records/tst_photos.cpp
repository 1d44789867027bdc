#include "RecordForm.h"

#include "records/PhotoLoader.h"
#include "records/PhotoTabStrip.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QSignalSpy>

namespace {

// A one-pixel GIF, grey of the level given.
QByteArray gif(char grey)
{
    return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13) + QByteArray(3, grey) +
           QByteArray(
               "\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b", 19);
}

// Clicks the entry for `path` once its folder is listed; true when it is the current one.
bool clickEntry(QAbstractItemView *view, const QString &path)
{
    auto *model = static_cast<QFileSystemModel *>(view->model());
    const QModelIndex at = model->index(path);
    const QString folder = QFileInfo(path).path();
    if (model->rowCount(model->index(folder)) != QDir(folder).entryList(model->filter()).size())
        return false;
    view->scrollTo(at);
    const QRect rect = view->visualRect(at);
    if (!rect.isEmpty() && view->currentIndex() != at)
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    return view->currentIndex() == at;
}

} // namespace

// The photo of the record form: which file it shows, the picker, and what Update keeps.
class TestPhotos : public RecordFormTest
{
    Q_OBJECT
private slots:
    void init()
    {
        start();
        sql(QStringLiteral(
            "INSERT INTO Student (Number, Surname, Address, Sex, Class_Level, Class_Arm, Picture) "
            "VALUES ('N1', 'Okafor', 'Ibadan', 'Female', 'Primary1', 'Blue', 'old.gif')"));
        QDir().mkpath(frontView(QStringLiteral("scans")));
        p->writeFile(QStringLiteral("Pictures/FrontView/ade.gif"), gif('\x10'));
        p->writeFile(QStringLiteral("Pictures/FrontView/notes.txt"), "Photos scanned on Monday\n");
        p->writeFile(QStringLiteral("Pictures/FrontView/scans/Bola.GIF"), gif('\x20'));
    }
    void cleanup() { finish(); }

    void shownOnlyAsGif_data();
    void shownOnlyAsGif();
    void loaderAnswersTheLatest();
    void followsTheRow();
    void driveGoneSaysSo();
    void pickedThenUpdated_data();
    void pickedThenUpdated();

private:
    QString frontView(const QString &name = {}) const
    {
        return p->file(QStringLiteral("Pictures/FrontView/") + name);
    }
    // What the photo box shows once the decode of the row's photo has landed.
    QImage photo() const
    {
        if (!QTest::qWaitFor([this] { return !form->photoPending(); }))
            QTest::qFail("the photo was never decoded", __FILE__, __LINE__);
        return w<QLabel>("imgView(0)")->pixmap().toImage();
    }
    bool photoShown() const { return !photo().isNull(); }
};

void TestPhotos::shownOnlyAsGif_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("path"); // under Pictures/FrontView
    QTest::addColumn<QString>("message"); // its start, before ": " and the path
    QTest::newRow("gif present, other case") << "ADE.gif" << true << "ade.gif" << "";
    // A picture all the same, but only GIF files are shown.
    QTest::newRow("jpg") << "ade.jpg" << false << "ade.jpg" << "";
    QTest::newRow("no photo") << "" << false << "" << "";
    // x.gif exists two folders up; only the missing-file message comes.
    QTest::newRow("folder part not followed") << "../../x.gif" << false << "x.gif" << "File not found";
    QTest::newRow("not a picture") << "notes.gif" << false << "notes.gif" << "Unsupported image format";
}

void TestPhotos::shownOnlyAsGif()
{
    QFETCH(QString, picture);
    QFETCH(bool, shown);
    QFETCH(QString, path);
    QFETCH(QString, message);
    p->writeFile(QStringLiteral("Pictures/FrontView/ade.jpg"), gif('\x10'));
    p->writeFile(QStringLiteral("Pictures/FrontView/notes.gif"), "Photos scanned on Monday\n");
    p->writeFile(QStringLiteral("x.gif"), gif('\x10'));
    sql(QStringLiteral("UPDATE Student SET Picture = '%1'").arg(picture));
    openForm();
    QCOMPARE(photoShown(), shown);
    QCOMPARE(form->photoPath(), frontView(path));
    QCOMPARE(p->messages.texts(),
             message.isEmpty() ? QStringList() : QStringList{message + QStringLiteral(": ") + frontView(path)});
}

// Only the request still wanted is answered, however the decodes interleave.
void TestPhotos::loaderAnswersTheLatest()
{
    PhotoLoader loader;
    QSignalSpy answers(&loader, &PhotoLoader::loaded);
    const QSize box(30, 40);
    loader.request(frontView(QStringLiteral("ade.gif")), box);
    loader.request(frontView(QStringLiteral("scans/Bola.GIF")), box);
    loader.request(frontView(QStringLiteral("notes.txt")), box);
    QTRY_VERIFY(!loader.busy());
    QCOMPARE(answers.size(), 1);
    QCOMPARE(answers.at(0).at(0).toString(), frontView(QStringLiteral("notes.txt")));
    QVERIFY(answers.at(0).at(1).value<QImage>().isNull());

    loader.request(frontView(QStringLiteral("ade.gif")), box);
    loader.cancel();
    QTRY_VERIFY(!loader.busy());
    QCOMPARE(answers.size(), 1);

    loader.request(frontView(QStringLiteral("scans/Bola.GIF")), box);
    QTRY_VERIFY(!loader.busy());
    QCOMPARE(answers.size(), 2);
    const QImage bola = answers.at(1).at(1).value<QImage>();
    QCOMPARE(bola.size(), QSize(30, 30));
    QCOMPARE(qGray(bola.pixel(0, 0)), 0x20);
}

// Photos are decoded while the row is already shown: a decode that lands after
// the operator has moved on never shows on another row. Browsing without the
// password shows them all the same.
void TestPhotos::followsTheRow()
{
    p->writeFile(QStringLiteral("Pictures/FrontView/chi.gif"), gif('\x60'));
    sql(QStringLiteral(
        "INSERT INTO Student (Number, Surname, Address, Sex, Class_Level, Class_Arm, Picture) "
        "VALUES ('N2', 'Adeyemi', 'Oyo', 'Male', 'Primary1', 'Blue', 'ade.gif'), "
        "('N3', 'Bello', 'Kano', 'Male', 'Primary1', 'Blue', ''), "
        "('N4', 'Chukwu', 'Enugu', 'Male', 'Primary1', 'Blue', 'chi.gif')"));
    openForm(QStringLiteral("Student"), false);
    QCOMPARE(qGray(photo().pixel(0, 0)), 0x60);
    click(0);
    click(3);
    click(3); // over N2's photo, still decoding, to N3 without one
    QVERIFY(!photoShown());
    click(3);
    click(2); // over N4's photo back to N3
    QVERIFY(!photoShown());
    click(2);
    QCOMPARE(qGray(photo().pixel(0, 0)), 0x10);
    QCOMPARE(p->messages.shown.size(), 1); // old.gif, once, when N1 was shown
    // Without the password the photo is shown but cannot be changed.
    bool opened = false;
    whenModalOpens(QStringLiteral("PhotoTabStrip"), [&opened](QDialog *d) { opened = d->close(); });
    QTest::mouseClick(w("imgView(0)"), Qt::LeftButton);
    QVERIFY(!opened);
}

// A volume listed when the picker opened and gone since (a memory stick pulled out).
void TestPhotos::driveGoneSaysSo()
{
    p->state->LoginGranted = true;
    openForm();
    p->messages.clear();
    QString folderAfter;
    whenModalOpens(QStringLiteral("PhotoTabStrip"), [&](QDialog *d) {
        auto *drives = widget<QComboBox>(d, "Drive1");
        const int before = drives->currentIndex();
        drives->addItem(QStringLiteral("/media/stick"),
                        QStringLiteral("/nonexistent/kolvane-stick"));
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_End);
        QCOMPARE(drives->currentIndex(), before);
        folderAfter = static_cast<PhotoTabStrip *>(d)->folder();
        ::click(d, "cmdClose");
    });
    QTest::mouseClick(w("imgView(0)"), Qt::LeftButton);
    QCOMPARE(p->messages.texts(), QStringList{QStringLiteral("Dirve Error")});
    QCOMPARE(p->messages.shown.at(0).title, QStringLiteral("Error"));
    QCOMPARE(p->messages.shown.at(0).icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(folderAfter, QDir::cleanPath(frontView()));
}

void TestPhotos::pickedThenUpdated_data()
{
    QTest::addColumn<QStringList>("steps"); // files clicked under Pictures/FrontView, or "Delete"
    QTest::addColumn<QByteArray>("there");  // bola.gif already in Pictures/FrontView
    QTest::addColumn<int>("answer");        // to the question about it
    QTest::addColumn<QString>("stored");
    const QStringList scan = {"scans/Bola.GIF"};
    QTest::newRow("text file leaves the preview")
        << QStringList{"ade.gif", "notes.txt"} << QByteArray() << 0 << "ade.gif";
    QTest::newRow("Delete clears the preview")
        << QStringList{"ade.gif", "Delete"} << QByteArray() << 0 << "";
    QTest::newRow("another folder: copied") << scan << QByteArray() << 0 << "bola.gif";
    QTest::newRow("the same photo there: nothing asked") << scan << gif('\x20') << 0 << "bola.gif";
    QTest::newRow("another photo there: replaced")
        << scan << gif('\x30') << int(MessageBoxes::Yes) << "bola.gif";
    QTest::newRow("another photo there: both kept")
        << scan << gif('\x30') << int(MessageBoxes::No) << "bola-2.gif";
}

void TestPhotos::pickedThenUpdated()
{
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, there);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    if (!there.isEmpty())
        p->writeFile(QStringLiteral("Pictures/FrontView/bola.gif"), there);
    p->state->LoginGranted = true;
    openForm();
    p->messages.clear(); // old.gif is missing
    click(9);
    QString openedIn;
    whenModalOpens(QStringLiteral("PhotoTabStrip"), [&](QDialog *d) {
        openedIn = static_cast<PhotoTabStrip *>(d)->folder();
        for (const QString &step : steps) {
            if (step == QLatin1String("Delete"))
                QTest::keyClick(d, Qt::Key_Delete);
            else if (step.contains(u'/'))
                QTRY_VERIFY(clickEntry(widget<QAbstractItemView>(d, "Dir1"),
                                       QFileInfo(frontView(step)).path()));
            if (step != QLatin1String("Delete"))
                QTRY_VERIFY(clickEntry(widget<QAbstractItemView>(d, "flbPhoto"), frontView(step)));
        }
        grabPng(d);
        ::click(d, "cmdInsert");
        QVERIFY(d->isVisible());
        ::click(d, "cmdClose");
    });
    QTest::mouseClick(w("imgView(0)"), Qt::LeftButton);
    QCOMPARE(openedIn, QDir::cleanPath(frontView()));
    QCOMPARE(photoShown(), !stored.isEmpty());
    if (answer)
        p->messages.setNextAnswer(MessageBoxes::Button(answer));
    click(10);
    QCOMPARE(p->messages.shown.size(), answer ? 1 : 0);
    QCOMPARE(sql(QStringLiteral("SELECT Picture FROM Student")), stored);
    // The scanned photo is where the stored name finds it; a different one is never lost.
    if (stored.startsWith(QLatin1String("bola")))
        QCOMPARE(fileBytes(frontView(stored)), gif('\x20'));
    if (stored == QLatin1String("bola-2.gif"))
        QCOMPARE(fileBytes(frontView(QStringLiteral("bola.gif"))), there);
}

QTEST_MAIN(TestPhotos)
#include "tst_photos.moc"
