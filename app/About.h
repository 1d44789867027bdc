#pragma once

#include <QDialog>
#include <QStringList>

class AppState;

// The About box: title, version, what the program is for, the rights line,
// and a way to the system's own information tool.
class About : public QDialog
{
    Q_OBJECT
public:
    explicit About(AppState &state, QWidget *parent = nullptr);

    // System-information programs tried in this order on the PATH.
    static QStringList systemInfoPrograms();
    // Starts the first one found, not waiting for it; none found or a failed
    // start tells the operator.
    void StartSysInfo();

private:
    AppState &m_state;
};
