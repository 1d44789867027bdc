#include "app/Login.h"

#include "app/AppState.h"
#include "app/Password.h"
#include "app/SoundPlayer.h"
#include "app/Sounds.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Login::Login(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_label(new QLabel(QStringLiteral("Password:"), this)),
      m_password(new QLineEdit(this)), m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("Login"));
    setWindowTitle(QStringLiteral("Login"));
    setModal(true);

    m_label->setObjectName(QStringLiteral("Label1"));
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMinimumWidth(220);
    m_label->setBuddy(m_password);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_label, 0, 0);
    grid->addWidget(m_password, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_cancel);
    m_password->setFocus();

    connect(m_ok, &QPushButton::clicked, this, &Login::cmdOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &Login::cmdCancelClick);

    playVoice(m_state.IdentifyWav, SoundPlayer::PromptMode);
}

Login::~Login()
{
    // A prompt thrown away unanswered still leaves its verdict: refused.
    if (!m_closed)
        m_state.LoginGranted = m_result;
}

void Login::playVoice(const QString &file, int mode)
{
    if (m_state.VoiceOn)
        m_state.services.sound.playWave(file, mode);
}

void Login::cmdOKClick()
{
    m_state.services.sound.stopWave();
    ++m_attempts;
    if (PasswordMatches(m_state.PasswordHash, TrimSpaces(m_password->text()))) {
        playVoice(m_state.ProceedWav, SoundPlayer::PromptMode);
        m_result = true;
        accept();
        return;
    }
    if (m_attempts >= 3) {
        m_result = false;
        if (m_state.VoiceOn) {
            m_state.services.sound.playWave(m_state.DeniedWav, SoundPlayer::PromptMode);
            m_state.WaitSeconds(5);
            SoundSiren(m_state);
        }
        cmdCancelClick();
        return;
    }
    playVoice(m_state.TryAgainWav, SoundPlayer::RepeatMode);
    m_password->clear();
    m_password->setFocus();
}

void Login::cmdCancelClick()
{
    m_state.services.sound.stopWave();
    m_result = false;
    QDialog::reject();
}

// Esc and the close box count as Cancel.
void Login::reject()
{
    cmdCancelClick();
}

void Login::done(int r)
{
    m_closed = true;
    m_state.LoginGranted = m_result;
    QDialog::done(r);
}
