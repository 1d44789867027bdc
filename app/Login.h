#pragma once

#include <QDialog>

class AppState;
class QLabel;
class QLineEdit;
class QPushButton;

// The password prompt. Three attempts per showing; however it closes, its
// verdict is left in AppState::LoginGranted.
class Login : public QDialog
{
    Q_OBJECT
public:
    explicit Login(AppState &state, QWidget *parent = nullptr);
    ~Login() override;

    void done(int r) override;
    void reject() override;

private:
    void cmdOKClick();
    void cmdCancelClick();
    void playVoice(const QString &file, int mode);

    AppState &m_state;
    QLabel *m_label;
    QLineEdit *m_password;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    qint16 m_attempts = 0;
    bool m_result = false;
    bool m_closed = false;
};
