#pragma once

#include <QMainWindow>

class AppState;

// The program's main window.
class KolvaneMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit KolvaneMain(AppState &state, QWidget *parent = nullptr);

    // Used when start-up gives up: the window goes without its exit steps.
    void abandon() { m_abandoned = true; }

private:
    AppState &m_state;
    bool m_abandoned = false;
};
