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
#include "records/ImportStudents.h"
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

namespace {

// One line of a menu. A null caption makes a separator; an exclusive item
// shares one group with the menu's other exclusive items.
enum class Mark { None, Exclusive, Toggle };
struct MenuItem
{
    const char *name;
    const char *caption;
    QKeySequence shortcut;
    std::function<void()> handler;
    Mark mark = Mark::None;
    bool checked = false;
    QAction **keep = nullptr;
};

struct MenuEntry
{
    const char *name;
    const char *caption;
    int helpContext;
    QList<MenuItem> items;
};

} // namespace

template<class Form>
void KolvaneMain::openForm()
{
    Form form(m_state, this);
    form.exec();
}

void KolvaneMain::buildMenus()
{
    const auto kind = [this](const char *recordKind) {
        return [this, recordKind] { chooseKind(QLatin1String(recordKind)); };
    };
    const auto guardedForm = [this](const char *phrase, void (KolvaneMain::*open)()) {
        return [this, phrase, open] { guarded(QLatin1String(phrase), [this, open] { (this->*open)(); }); };
    };
    const auto sep = [](const char *name) { return MenuItem{name, nullptr, {}, {}}; };
    const QKeySequence none;

    const QList<MenuEntry> table = {
        {"mnuAction", QT_TR_NOOP("&Action"), 210, {
            {"mnuActionDataEntry", QT_TR_NOOP("&Data Entry"), QKeySequence(Qt::Key_F2),
             [this] { dataEntry(); }, Mark::Exclusive, true, &m_dataEntry},
            {"mnuActionQuery", QT_TR_NOOP("&Query And Report"), QKeySequence(Qt::Key_F3),
             [this] { queryAndReport(); }, Mark::Exclusive, false, &m_query},
            {"mnuActionExit", QT_TR_NOOP("E&xit"), none, [this] { close(); }},
        }},
        {"mnuUpon", QT_TR_NOOP("&Upon"), 220, {
            {"mnuUponStudent", QT_TR_NOOP("&Student"), QKeySequence(Qt::CTRL | Qt::Key_S),
             kind("Student"), Mark::Exclusive, true},
            {"mnuUponStaff", QT_TR_NOOP("Staf&f"), QKeySequence(Qt::CTRL | Qt::Key_F), kind("Staff"),
             Mark::Exclusive},
            sep("mnuUponBar0"),
            {"mnuUponFormerStudent", QT_TR_NOOP("Former St&udent"), none, kind("FormerStudent"),
             Mark::Exclusive},
            {"mnuUponFormerStaff", QT_TR_NOOP("Former St&aff"), none, kind("FormerStaff"),
             Mark::Exclusive},
            sep("mnuUponBar1"),
            {"mnuUponStock", QT_TR_NOOP("Stoc&k"), QKeySequence(Qt::CTRL | Qt::Key_K), kind("Stock"),
             Mark::Exclusive},
        }},
        // The marks of Music and Voice follow the flags, not the clicks: the
        // handlers set both.
        {"mnuTools", QT_TR_NOOP("&Tools"), 230, {
            {"mnuToolsMusic", QT_TR_NOOP("&Music"), QKeySequence(Qt::Key_F4), [this] { toggleMusic(); },
             Mark::Toggle, true, &m_music},
            {"mnuToolsVoice", QT_TR_NOOP("&Voice"), QKeySequence(Qt::SHIFT | Qt::Key_F4),
             [this] { toggleVoice(); }, Mark::Toggle, true, &m_voice},
            sep("mnuToolsSep0"),
            {"mnuToolsSetTerm", QT_TR_NOOP("Set &Term"), none,
             guardedForm("to Set Term.", &KolvaneMain::openForm<SetTerm>)},
            {"mnuToolsRestructureClasses", QT_TR_NOOP("Restructure &Classes"), none,
             guardedForm("to restructure classes.", &KolvaneMain::openForm<RestructureClasses>)},
            {"mnuToolsReviseFees", QT_TR_NOOP("Revise &Fees"), none,
             guardedForm("to revise fees.", &KolvaneMain::openForm<ReviseFees>)},
            sep("mnuToolsSep1"),
            {"mnuToolsAccounts", QT_TR_NOOP("&Accounts"), none,
             guardedForm("to enter accounts.", &KolvaneMain::openForm<Accounts>)},
            {"mnuToolsImportStudents", QT_TR_NOOP("&Import Students..."), none,
             guardedForm("to import students.", &KolvaneMain::openForm<ImportStudents>)},
            sep("mnuToolsSep2"),
            {"mnuToolsModifyPassword", QT_TR_NOOP("Modify &Password"), none,
             [this] { openForm<ModifyPassword>(); }},
        }},
        {"mnuHelp", QT_TR_NOOP("&Help"), 240, {
            {"mnuHelpContents", QT_TR_NOOP("&Contents..."), none,
             [this] { help().showContext(HelpWindow::ContentsTopic); }},
            {"mnuHelpSearch", QT_TR_NOOP("&Search For Help On..."), none, [this] { help().showSearch(); }},
            sep("mnuHelpBar1"),
            {"mnuHelpAbout", QT_TR_NOOP("&About"), none, [this] { openForm<About>(); }},
        }},
    };

    for (const MenuEntry &entry : table) {
        QMenu *menu = menuBar()->addMenu(tr(entry.caption));
        menu->setObjectName(QLatin1String(entry.name));
        menu->setProperty("helpContextId", entry.helpContext);
        HelpWindow::watchMenu(menu, [this](int context) { help().showContext(context); });
        QActionGroup *group = nullptr;
        for (const MenuItem &item : entry.items) {
            QAction *a = item.caption ? menu->addAction(tr(item.caption)) : menu->addSeparator();
            a->setObjectName(QLatin1String(item.name));
            if (!item.caption)
                continue;
            a->setShortcut(item.shortcut);
            if (item.mark != Mark::None) {
                a->setCheckable(true);
                a->setChecked(item.checked);
            }
            if (item.mark == Mark::Exclusive) {
                if (!group)
                    group = new QActionGroup(this);
                group->addAction(a);
            }
            connect(a, &QAction::triggered, this, item.handler);
            if (item.keep)
                *item.keep = a;
        }
    }
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
