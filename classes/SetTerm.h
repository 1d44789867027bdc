#pragma once

#include <QDialog>
#include <QList>

class AppState;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The current term and session: one of four terms and the session's first
// year. OK stores the composed text in the class structure file and in
// memory; Cancel changes nothing.
class SetTerm : public QDialog
{
    Q_OBJECT
public:
    explicit SetTerm(AppState &state, QWidget *parent = nullptr);

private:
    void composeLabel();
    void optTermClick(int index);
    void hscYearChange();
    void OKButtonClick();

    AppState &m_state;
    QString m_chosenTerm;

    QGroupBox *m_frame;
    QList<QRadioButton *> m_optTerm;
    QButtonGroup *m_group;
    QScrollBar *m_year;
    QLabel *m_yearLabel;
    QLabel *m_term;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
