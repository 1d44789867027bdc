#include "app/KolvaneMain.h"

#include "app/AppState.h"

KolvaneMain::KolvaneMain(AppState &state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("KolvaneMain"));
    setWindowTitle(QStringLiteral("School Brindlemark"));
    resize(800, 600);
}
