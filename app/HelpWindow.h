#pragma once

#include <QList>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTextBrowser;

// The program's own help: HTML pages in the program folder's Help folder,
// shown beside a list of pages that a search narrows down.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    // The contents topic and the four menus of the main window.
    static constexpr int ContentsTopic = 10;

    HelpWindow(const QString &helpFolder, QWidget *owner);

    // The page of a help context number; an unknown number shows the contents.
    void showContext(int context);
    // Puts the caret in the search box, ready for the operator's words.
    void showSearch();
    // The page file now shown ("" before any page).
    QString currentPage() const;

    // The page file of a context number, "" for an unknown one.
    static QString pageOfContext(int context);

    struct Page
    {
        QString file; // name inside the help folder
        QString title;
        QString text; // lower-cased plain text, title included
    };
    // Pages holding every word of `words` (letter case aside), the most
    // mentions first; empty words list every page by title.
    QList<Page> find(const QString &words) const;

    // F1 while `menu` is open closes the menu and asks for its help context
    // (the menu's "helpContextId" property).
    static void watchMenu(QMenu *menu, std::function<void(int)> showHelp);

private:
    void loadPages();
    void showPage(const QString &file);
    void refreshList();
    void openListed();

    QString m_folder;
    QList<Page> m_pages;
    QLineEdit *m_search = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_count = nullptr;
    QTextBrowser *m_browser = nullptr;
    QString m_current;
};
