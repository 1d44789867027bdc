#include "app/KolvaneMain.h"
#include "accounts/Accounts.h"

#include "app/About.h"
#include "app/AppState.h"
#include "app/Backups.h"
#include "app/HelpWindow.h"
#include "app/Login.h"
#include "app/ModifyPassword.h"
#include "app/SoundPlayer.h"
#include "classes/RestructureClasses.h"
#include "classes/ReviseFees.h"
#include "classes/SetTerm.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "records/MenData.h"
#include "reports/QueryReport.h"
#include "platform/MessageBoxes.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace {

// The window's own picture, showing wherever the school has no logo.
class Background : public QWidget
{
public:
    explicit Background(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("Background"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient sky(0, 0, 0, height());
        sky.setColorAt(0.0, QColor(0x1f, 0x4e, 0x79));
        sky.setColorAt(1.0, QColor(0x9c, 0xc3, 0xe6));
        p.fillRect(rect(), sky);

        // A crest in the middle: a shield with an open book.
        const qreal s = qMin(width(), height()) / 2.6;
        const QPointF c(width() / 2.0, height() / 2.0 - s * 0.1);
        QPolygonF shield;
        shield << c + QPointF(-s / 2, -s / 2) << c + QPointF(s / 2, -s / 2)
               << c + QPointF(s / 2, 0) << c + QPointF(0, s * 0.62) << c + QPointF(-s / 2, 0);
        p.setPen(QPen(QColor(0xd4, 0xa0, 0x17), s / 24));
        p.setBrush(QColor(0x17, 0x3a, 0x5c));
        p.drawPolygon(shield);
        p.setPen(QPen(Qt::white, s / 30));
        p.setBrush(Qt::NoBrush);
        const QPointF top = c + QPointF(0, -s * 0.28);
        const QPointF bottom = c + QPointF(0, s * 0.16);
        p.drawLine(top, bottom);
        for (int side : {-1, 1}) {
            QPainterPath page;
            page.moveTo(top);
            page.quadTo(c + QPointF(side * s * 0.16, -s * 0.36), c + QPointF(side * s * 0.34, -s * 0.26));
            page.lineTo(c + QPointF(side * s * 0.34, s * 0.08));
            page.quadTo(c + QPointF(side * s * 0.16, -s * 0.02), bottom);
            p.drawPath(page);
        }

        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 1.8);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        const QRectF below(0, c.y() + s * 0.7, width(), height() - c.y() - s * 0.7);
        p.drawText(below, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("School Brindlemark"));
    }
};

} // namespace

KolvaneMain::KolvaneMain(AppState &state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("KolvaneMain"));
    setWindowTitle(QStringLiteral("School Brindlemark"));
    // Near the top left of the screen's free area, title bar included, 440 pixels high.
    resize(680, 440);
    const QRect free = screen()->availableGeometry();
    // move() places the frame, so the title bar stays on the screen.
    move(free.topLeft() + QPoint(30, 0));

    auto *background = new Background(this);
    setCentralWidget(background);
    m_logo = new QLabel(background);
    m_logo->setObjectName(QStringLiteral("imgLogo"));
    m_logo->setScaledContents(true);
    const QString logo = m_state.path(QStringLiteral("Pictures/SchoolLogo.gif"));
    QPixmap picture;
    if (QFileInfo::exists(logo) && picture.load(logo))
        m_logo->setPixmap(picture);
    else
        m_logo->hide();

    buildMenus();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(250);
    connect(m_timer, &QTimer::timeout, this, &KolvaneMain::timerTick);

    m_state.FirstPiecePending = true;
    m_state.MusicOn = true;
    m_state.services.sound.playWave(m_state.IntroWav, SoundPlayer::PromptMode);
    PlayNextPiece();
    m_state.RecordKind = QStringLiteral("Student");
    m_timer->start();
}

KolvaneMain::~KolvaneMain() = default;

QAction *KolvaneMain::addItem(QMenu *menu, const char *name, const QString &caption,
                              const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void KolvaneMain::addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void KolvaneMain::buildMenus()
{
    auto menu = [this](const char *name, const QString &caption, int helpId) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->setProperty("helpContextId", helpId);
        HelpWindow::watchMenu(m, [this](int context) { help().showContext(context); });
        return m;
    };

    QMenu *action = menu("mnuAction", tr("&Action"), 210);
    m_dataEntry = addItem(action, "mnuActionDataEntry", tr("&Data Entry"), QKeySequence(Qt::Key_F2));
    m_query = addItem(action, "mnuActionQuery", tr("&Query And Report"), QKeySequence(Qt::Key_F3));
    QAction *exit = addItem(action, "mnuActionExit", tr("E&xit"));
    auto *pair = new QActionGroup(this);
    for (QAction *a : {m_dataEntry, m_query}) {
        a->setCheckable(true);
        pair->addAction(a);
    }
    m_dataEntry->setChecked(true);
    connect(m_dataEntry, &QAction::triggered, this, &KolvaneMain::dataEntry);
    connect(m_query, &QAction::triggered, this, &KolvaneMain::queryAndReport);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *upon = menu("mnuUpon", tr("&Upon"), 220);
    auto *kinds = new QActionGroup(this);
    auto kind = [&](const char *name, const QString &caption, const QString &recordKind,
                    const QKeySequence &shortcut = {}) {
        QAction *a = addItem(upon, name, caption, shortcut);
        a->setCheckable(true);
        kinds->addAction(a);
        connect(a, &QAction::triggered, this, [this, recordKind] { chooseKind(recordKind); });
        return a;
    };
    kind("mnuUponStudent", tr("&Student"), QStringLiteral("Student"), QKeySequence(Qt::CTRL | Qt::Key_S))
        ->setChecked(true);
    kind("mnuUponStaff", tr("Staf&f"), QStringLiteral("Staff"), QKeySequence(Qt::CTRL | Qt::Key_F));
    addSeparator(upon, "mnuUponBar0");
    kind("mnuUponFormerStudent", tr("Former St&udent"), QStringLiteral("FormerStudent"));
    kind("mnuUponFormerStaff", tr("Former St&aff"), QStringLiteral("FormerStaff"));
    addSeparator(upon, "mnuUponBar1");
    kind("mnuUponStock", tr("Stoc&k"), QStringLiteral("Stock"), QKeySequence(Qt::CTRL | Qt::Key_K));

    QMenu *tools = menu("mnuTools", tr("&Tools"), 230);
    m_music = addItem(tools, "mnuToolsMusic", tr("&Music"), QKeySequence(Qt::Key_F4));
    m_voice = addItem(tools, "mnuToolsVoice", tr("&Voice"), QKeySequence(Qt::SHIFT | Qt::Key_F4));
    for (QAction *a : {m_music, m_voice}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    // The marks follow the flags, not the clicks: the handlers set both.
    connect(m_music, &QAction::triggered, this, &KolvaneMain::toggleMusic);
    connect(m_voice, &QAction::triggered, this, &KolvaneMain::toggleVoice);
    addSeparator(tools, "mnuToolsSep0");
    connect(addItem(tools, "mnuToolsSetTerm", tr("Set &Term")), &QAction::triggered, this, [this] {
        guarded(QStringLiteral("to Set Term."), [this] {
            SetTerm form(m_state, this);
            form.exec();
        });
    });
    connect(addItem(tools, "mnuToolsRestructureClasses", tr("Restructure &Classes")), &QAction::triggered,
            this, [this] {
                guarded(QStringLiteral("to restructure classes."), [this] {
                    RestructureClasses wizard(m_state, this);
                    wizard.exec();
                });
            });
    connect(addItem(tools, "mnuToolsReviseFees", tr("Revise &Fees")), &QAction::triggered, this, [this] {
        guarded(QStringLiteral("to revise fees."), [this] {
            ReviseFees form(m_state, this);
            form.exec();
        });
    });
    addSeparator(tools, "mnuToolsSep1");
    connect(addItem(tools, "mnuToolsAccounts", tr("&Accounts")), &QAction::triggered, this, [this] {
        guarded(QStringLiteral("to enter accounts."), [this] {
            Accounts form(m_state, this);
            form.exec();
        });
    });
    addSeparator(tools, "mnuToolsSep2");
    connect(addItem(tools, "mnuToolsModifyPassword", tr("Modify &Password")), &QAction::triggered, this,
            [this] {
                ModifyPassword form(m_state, this);
                form.exec();
            });

    QMenu *helpMenu = menu("mnuHelp", tr("&Help"), 240);
    connect(addItem(helpMenu, "mnuHelpContents", tr("&Contents...")), &QAction::triggered, this,
            [this] { help().showContext(HelpWindow::ContentsTopic); });
    connect(addItem(helpMenu, "mnuHelpSearch", tr("&Search For Help On...")), &QAction::triggered, this,
            [this] { help().showSearch(); });
    addSeparator(helpMenu, "mnuHelpBar1");
    connect(addItem(helpMenu, "mnuHelpAbout", tr("&About")), &QAction::triggered, this,
            [this] {
                About box(m_state, this);
                box.exec();
            });
    // F1 with no menu open: the contents.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [this] { help().showContext(HelpWindow::ContentsTopic); });
}

HelpWindow &KolvaneMain::help()
{
    if (!m_help)
        m_help = new HelpWindow(m_state.path(QStringLiteral("Help")), this);
    return *m_help;
}

void KolvaneMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // The logo is stretched over the whole client area.
    if (m_logo && centralWidget())
        m_logo->setGeometry(centralWidget()->rect());
}

bool KolvaneMain::askPassword(const QString &phrase)
{
    Login prompt(m_state, this);
    prompt.setWindowTitle(QStringLiteral("Login ") + phrase);
    prompt.exec();
    return m_state.LoginGranted;
}

void KolvaneMain::guarded(const QString &phrase, const std::function<void()> &openForm)
{
    if (!askPassword(phrase))
        return;
    openForm();
    m_state.LoginGranted = false;
}

void KolvaneMain::dataEntry()
{
    m_dataEntry->setChecked(true);
    if (AppState::isStudentKind(m_state.RecordKind))
        CheckClassStructure();
    // Loaded before the prompt: the form's loading never depends on it.
    MenData form(m_state, this);
    form.arrangeForOpener(askPassword(QStringLiteral("to modify records.")));
    form.exec();
    // The form clears it when it unloads; never leave it granted.
    m_state.LoginGranted = false;
}

void KolvaneMain::queryAndReport()
{
    m_query->setChecked(true);
    if (m_state.RecordKind != QStringLiteral("Stock"))
        askPassword(QStringLiteral("to view remarks."));
    if (AppState::isStudentKind(m_state.RecordKind))
        CheckClassStructure();
    QueryReport form(m_state, this);
    form.exec();
    m_state.LoginGranted = false;
}

void KolvaneMain::chooseKind(const QString &kind)
{
    m_state.RecordKind = kind;
}

void KolvaneMain::CheckClassStructure()
{
    if (QFileInfo::exists(m_state.IniPath))
        return;
    RestructureClasses wizard(m_state, this);
    m_state.services.messages.ok(MessageBoxes::lines({QStringLiteral("Initialization file for your School"),
                                                      QStringLiteral("Class Structure was not found."),
                                                      QStringLiteral("It must now be created.")}));
    if (auto *cancel = wizard.findChild<QPushButton *>(QStringLiteral("cmdNavigate(0)")))
        cancel->setEnabled(false);
    wizard.exec();
}

void KolvaneMain::toggleMusic()
{
    if (m_state.MusicOn)
        StopMusic();
    else
        m_state.MusicOn = true;
    m_music->setChecked(m_state.MusicOn);
}

void KolvaneMain::toggleVoice()
{
    m_state.VoiceOn = !m_state.VoiceOn;
    m_voice->setChecked(m_state.VoiceOn);
}

void KolvaneMain::timerTick()
{
    if (m_state.MusicOn && !m_state.services.sound.musicPlaying())
        PlayNextPiece();
}

void KolvaneMain::PlayNextPiece()
{
    const int count = m_state.MusicCount();
    if (count == 0)
        return;
    if (m_state.FirstPiecePending) {
        m_state.NextPiece = 0;
    } else if (!m_state.RandomStartDone) {
        m_state.RandomStartDone = true;
        QRandomGenerator random(static_cast<quint32>(m_state.services.clock.now().toMSecsSinceEpoch()));
        m_state.NextPiece = static_cast<int>(count * random.generateDouble());
    }
    // A list that shrank under us never indexes past its end.
    if (m_state.NextPiece < 0 || m_state.NextPiece >= count)
        m_state.NextPiece = 0;
    m_state.services.sound.playMusic(m_state.MusicFiles.at(m_state.NextPiece));
    m_state.NextPiece += 1;
    if (m_state.NextPiece == count)
        m_state.NextPiece = 0;
    m_state.FirstPiecePending = false;
}

void KolvaneMain::StopMusic()
{
    m_state.services.sound.stopMusic();
    m_state.MusicOn = false;
}

bool KolvaneMain::BackUpDatabase()
{
    QString error;
    if (Backups::write(m_state, &error))
        return true;
    // A damaged database or a failed copy never replaces the last good copy.
    m_state.services.messages.ok(
        MessageBoxes::lines({QStringLiteral("The backup copy could not be written:"),
                             m_state.backupFile(), error,
                             QStringLiteral("The last backup copy was kept as it was.")}),
        MessageBoxes::Icon::Exclamation);
    return false;
}

void KolvaneMain::exitSteps()
{
    if (m_help)
        m_help->close();
    m_timer->stop();
    Database::close(m_state.DbConnection);
    BackUpDatabase();
    StopMusic();
    m_state.services.sound.stopWave();
    m_exited = true;
    emit exited();
}

void KolvaneMain::closeEvent(QCloseEvent *event)
{
    if (m_abandoned || m_exited) {
        event->accept();
        return;
    }
    if (!m_state.services.messages.yes(QStringLiteral("Are you sure you want to exit?"))) {
        event->ignore();
        return;
    }
    exitSteps();
    event->accept();
}
