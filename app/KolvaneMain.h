#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

class AppState;
class HelpWindow;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTimer;

// The program's only top-level window: the logo, the menus every other form
// is opened from, the record kind, the music and voice switches, and the
// exit with its backup copy.
class KolvaneMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit KolvaneMain(AppState &state, QWidget *parent = nullptr);
    ~KolvaneMain() override;

    // Used when start-up gives up: the window goes without its exit steps.
    void abandon() { m_abandoned = true; }

    // Forces the wizard when the class structure file is missing.
    void CheckClassStructure();
    // Copies the closed database over the backup copy. Reports a failure
    // but never stops the exit.
    bool BackUpDatabase();

    void PlayNextPiece();
    void StopMusic();

    // Asks for the password with "Login " + phrase as the caption.
    bool askPassword(const QString &phrase);

signals:
    // The exit steps are done; the event loop may end.
    void exited();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The menus from one table: captions, names, shortcuts, help contexts, handlers.
    void buildMenus();
    template<class Form>
    void openForm();

    void dataEntry();
    void queryAndReport();
    void chooseKind(const QString &kind);
    void toggleMusic();
    void toggleVoice();
    void guarded(const QString &phrase, const std::function<void()> &openForm);
    void timerTick();
    void exitSteps();
    // The help window, made when first asked for.
    HelpWindow &help();

    AppState &m_state;
    bool m_abandoned = false;
    bool m_exited = false;
    QLabel *m_logo = nullptr;
    QTimer *m_timer = nullptr;
    QAction *m_dataEntry = nullptr;
    QAction *m_query = nullptr;
    QAction *m_music = nullptr;
    QAction *m_voice = nullptr;
    QPointer<HelpWindow> m_help;
};
