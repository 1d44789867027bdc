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

    void shownRowByRow();
    void loaderAnswersTheLatest();
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
};

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

// Each row shows its own photo: a GIF found whatever its letter case, nothing for
// other files or none, a message saying why for a file missing or not a picture.
// Photos are decoded while the row already shows: a decode landing after the
// operator has moved on never shows on another row. Browsing without the
// password shows them all the same, but the picker does not open.
void TestPhotos::shownRowByRow()
{
    p->writeFile(QStringLiteral("Pictures/FrontView/chi.gif"), gif('\x60'));
    p->writeFile(QStringLiteral("Pictures/FrontView/ade.jpg"), gif('\x10'));
    p->writeFile(QStringLiteral("Pictures/FrontView/notes.gif"), "Photos scanned on Monday\n");
    p->writeFile(QStringLiteral("x.gif"), gif('\x10'));
    QStringList rows;
    for (const char *picture : {"ADE.gif", "ade.jpg", "", "../../x.gif", "notes.gif", "chi.gif"})
        rows << QStringLiteral("('N%1', 'Adeyemi', 'Oyo', 'Male', 'Primary1', 'Blue', '%2')")
                    .arg(rows.size() + 2)
                    .arg(QLatin1String(picture));
    sql(QStringLiteral("INSERT INTO Student (Number, Surname, Address, Sex, Class_Level, "
                       "Class_Arm, Picture) VALUES ") +
        rows.join(u','));
    struct Step
    {
        int button;       // -1 opens the form
        const char *path; // under Pictures/FrontView
        int grey;         // of the photo shown, -1 for none
        const char *message;
    };
    const Step steps[] = {{-1, "chi.gif", 0x60, ""},
                          {0, "old.gif", -1, "File not found"},
                          {3, nullptr, 0, ""}, // over N2, its photo still decoding
                          {3, "ade.jpg", -1, ""},
                          {2, "ade.gif", 0x10, ""},
                          {3, nullptr, 0, ""},
                          {3, "", -1, ""},
                          {3, "x.gif", -1, "File not found"},
                          {3, "notes.gif", -1, "Unsupported image format"}};
    for (const Step &step : steps) {
        p->messages.clear();
        if (step.button < 0)
            openForm(QStringLiteral("Student"), false);
        else
            click(step.button);
        if (!step.path)
            continue;
        const QImage shown = photo();
        QCOMPARE(shown.isNull() ? -1 : qGray(shown.pixel(0, 0)), step.grey);
        const QString path = frontView(QLatin1String(step.path));
        QCOMPARE(form->photoPath(), path);
        QCOMPARE(p->messages.texts(),
                 *step.message ? QStringList{step.message + (": " + path)} : QStringList());
    }
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
    QCOMPARE(photo().isNull(), stored.isEmpty());
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
