#include "app/HelpWindow.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct Topic
{
    int context;
    const char *file;
};

constexpr Topic Topics[] = {
    {HelpWindow::ContentsTopic, "Contents.html"},
    {210, "ActionMenu.html"},
    {220, "UponMenu.html"},
    {230, "ToolsMenu.html"},
    {240, "HelpMenu.html"},
};

// Closes its menu on F1 and hands the menu's help context on.
class MenuHelpKey : public QObject
{
public:
    MenuHelpKey(QMenu *menu, std::function<void(int)> showHelp)
        : QObject(menu)
        , m_menu(menu)
        , m_showHelp(std::move(showHelp))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1)
            return false;
        const int context = m_menu->property("helpContextId").toInt();
        m_menu->close();
        // The help opens once the menu has let go of the keyboard.
        QTimer::singleShot(0, m_menu, [show = m_showHelp, context] { show(context); });
        return true;
    }

private:
    QMenu *m_menu;
    std::function<void(int)> m_showHelp;
};

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

HelpWindow::HelpWindow(const QString &helpFolder, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_folder(helpFolder)
{
    setObjectName(QStringLiteral("HelpWindow"));
    // Closed is gone: the next request builds a fresh window.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Kolvane Help"));
    // Beside the work, never past the edges of a small screen.
    const QRect free = (owner ? owner->screen() : screen())->availableGeometry();
    resize(qMin(900, free.width() - 40), qMin(620, free.height() - 60));
    move(free.right() - width() - 20, free.top() + 10);

    auto *contents = new QPushButton(tr("&Contents"), this);
    contents->setObjectName(QStringLiteral("cmdContents"));
    auto *back = new QPushButton(tr("&Back"), this);
    back->setObjectName(QStringLiteral("cmdBack"));
    auto *forward = new QPushButton(tr("&Forward"), this);
    forward->setObjectName(QStringLiteral("cmdForward"));
    auto *close = new QPushButton(tr("C&lose"), this);
    close->setObjectName(QStringLiteral("cmdClose"));

    auto *findLabel = new QLabel(tr("&Search for words:"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(tr("for example: bill"));
    m_search->setClearButtonEnabled(true);
    findLabel->setBuddy(m_search);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblFound"));
    auto *listLabel = new QLabel(tr("&Pages:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstPages"));
    listLabel->setBuddy(m_list);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtPage"));
    m_browser->setAccessibleName(tr("Help page"));
    m_browser->setSearchPaths({m_folder});
    m_browser->setOpenLinks(true);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {contents, back, forward})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *side = new QWidget(this);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(findLabel);
    sideLayout->addWidget(m_search);
    sideLayout->addWidget(listLabel);
    sideLayout->addWidget(m_list, 1);
    sideLayout->addWidget(m_count);

    auto *split = new QSplitter(this);
    split->addWidget(side);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({250, 650});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);

    setTabOrder(m_search, m_list);
    setTabOrder(m_list, m_browser);
    setTabOrder(m_browser, contents);

    connect(contents, &QPushButton::clicked, this, [this] { showContext(ContentsTopic); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this](const QUrl &url) { m_current = QFileInfo(url.toLocalFile()).fileName(); });
    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::refreshList);
    // Enter in the search box opens the best match; in the list, the page chosen.
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        if (m_list->count() > 0) {
            m_list->setCurrentRow(0);
            openListed();
        }
    });
    connect(m_list, &QListWidget::itemActivated, this, &HelpWindow::openListed);
    connect(m_list, &QListWidget::itemClicked, this, &HelpWindow::openListed);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    loadPages();
    refreshList();
}

QString HelpWindow::pageOfContext(int context)
{
    for (const Topic &t : Topics)
        if (t.context == context)
            return QString::fromLatin1(t.file);
    return {};
}

void HelpWindow::loadPages()
{
    const QDir dir(m_folder);
    const QStringList files = dir.entryList({QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                                            QDir::Name | QDir::IgnoreCase);
    for (const QString &file : files) {
        QTextDocument doc;
        doc.setHtml(readFile(dir.filePath(file)));
        Page page;
        page.file = file;
        page.title = doc.metaInformation(QTextDocument::DocumentTitle);
        if (page.title.isEmpty())
            page.title = QFileInfo(file).completeBaseName();
        page.text = (page.title + u'\n' + doc.toPlainText()).toLower();
        m_pages.append(page);
    }
}

QList<HelpWindow::Page> HelpWindow::find(const QString &words) const
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QStringList wanted = words.toLower().split(space, Qt::SkipEmptyParts);
    QList<std::pair<qsizetype, Page>> hits;
    for (const Page &page : m_pages) {
        qsizetype mentions = 0;
        for (const QString &w : wanted) {
            const qsizetype n = page.text.count(w);
            if (n == 0) {
                mentions = -1;
                break;
            }
            mentions += n;
        }
        if (mentions >= 0)
            hits.append({mentions, page});
    }
    std::stable_sort(hits.begin(), hits.end(), [&wanted](const auto &a, const auto &b) {
        if (wanted.isEmpty())
            return QString::localeAwareCompare(a.second.title, b.second.title) < 0;
        return a.first > b.first;
    });
    QList<Page> result;
    for (const auto &h : hits)
        result.append(h.second);
    return result;
}

void HelpWindow::refreshList()
{
    m_list->clear();
    const QList<Page> found = find(m_search->text());
    for (const Page &page : found) {
        auto *item = new QListWidgetItem(page.title, m_list);
        item->setData(Qt::UserRole, page.file);
    }
    const QString pages = found.size() == 1 ? tr("1 page") : tr("%1 pages").arg(found.size());
    if (m_search->text().trimmed().isEmpty())
        m_count->setText(pages + tr(" of help"));
    else if (found.isEmpty())
        m_count->setText(tr("No page holds all these words."));
    else
        m_count->setText(pages + tr(" found"));
}

void HelpWindow::openListed()
{
    if (QListWidgetItem *item = m_list->currentItem())
        showPage(item->data(Qt::UserRole).toString());
}

void HelpWindow::showPage(const QString &file)
{
    const QString path = QDir(m_folder).filePath(file);
    if (file.isEmpty() || !QFileInfo(path).isFile()) {
        m_browser->setHtml(tr("<h2>This help page is missing</h2><p>The page <b>%1</b> was not found in the "
                              "folder <b>%2</b>. Copy the program's Help folder back from the installation "
                              "to have it again.</p>")
                               .arg(file.toHtmlEscaped(), QDir::toNativeSeparators(m_folder).toHtmlEscaped()));
        m_current.clear();
    } else {
        m_browser->setSource(QUrl::fromLocalFile(path));
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::showContext(int context)
{
    const QString file = pageOfContext(context);
    showPage(file.isEmpty() ? pageOfContext(ContentsTopic) : file);
    m_browser->setFocus();
}

void HelpWindow::showSearch()
{
    if (m_current.isEmpty())
        showPage(pageOfContext(ContentsTopic));
    show();
    raise();
    activateWindow();
    m_search->setFocus();
    m_search->selectAll();
}

QString HelpWindow::currentPage() const
{
    return m_current;
}

void HelpWindow::watchMenu(QMenu *menu, std::function<void(int)> showHelp)
{
    menu->installEventFilter(new MenuHelpKey(menu, std::move(showHelp)));
}
