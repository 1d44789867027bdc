#pragma once

#include "classes/ClassStructure.h"

#include <QDialog>
#include <QList>
#include <array>

class AppState;
class FieldChecks;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The wizard that sets how many arms each class level has and what they are
// called, one page per level. Finish writes the whole structure to the class
// structure file and reloads it; nothing else is ever written.
class RestructureClasses : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MaxArms = 20;
    enum Navigate { Cancel = 0, Back = 1, Next = 2, Finish = 3 };

    explicit RestructureClasses(AppState &state, QWidget *parent = nullptr);

    // The caller disables Cancel when the structure must be created.
    QPushButton *cmdNavigate(int index) const { return m_navigate.at(index); }
    int page() const { return m_page; }
    // Every position the progress bar was given during the last Finish.
    const QList<double> &progressValues() const { return m_progress; }

    // Esc and the close box go the way of Cancel, and do nothing while it is
    // disabled or hidden.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct GridRow
    {
        int count = 0;
        // Arm k at position k - 1; positions above count may hold leftovers.
        std::array<QString, MaxArms> arms;
    };

    // The form's parts.
    void buildLevelFrame();
    QHBoxLayout *buildButtons();
    // The pages: one row of the grid per level, shown and stored.
    void loadGrid();
    void ShowWhichPage();
    void StoreWhichPage();
    // The grid to the file, all or nothing.
    void PutIniFile();
    void cmdNavigateClick(int index);
    void txtNumChange();
    bool txtNumAcceptable() const;
    void setCountCaption();

    AppState &m_state;
    int m_page = 0;
    std::array<GridRow, ClassStructure::LevelCount> m_classGrid;
    QList<double> m_progress;

    QLabel *m_intro;
    QGroupBox *m_frame;
    QLabel *m_numClass;
    QLineEdit *m_num;
    QLabel *m_armNames;
    QList<QLineEdit *> m_levelName;
    QList<QPushButton *> m_navigate;
    QProgressBar *m_progressBar;
    FieldChecks *m_checks;
};
