#include "app/ModifyPassword.h"

#include "app/AppState.h"
#include "app/Password.h"
#include "app/SettingsStore.h"
#include "platform/FieldChecks.h"
#include "platform/MessageBoxes.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

ModifyPassword::ModifyPassword(AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)), m_checks(new FieldChecks(this))
{
    setObjectName(QStringLiteral("ModifyPassword"));
    setWindowTitle(QStringLiteral("Modify Password"));
    setModal(true);

    static const char *const captions[] = {
        "&Old Password:", "&New Password:", "&Confirm New Password:"};
    auto *grid = new QGridLayout(this);
    for (int i = 0; i < 3; ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtPassword(%1)").arg(i));
        box->setEchoMode(QLineEdit::Password);
        box->setMinimumWidth(220);
        box->installEventFilter(this);
        auto *label = new QLabel(QString::fromLatin1(captions[i]), this);
        label->setObjectName(QStringLiteral("lblPassword(%1)").arg(i));
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        m_boxes[static_cast<size_t>(i)] = box;
    }
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_boxes[0], m_boxes[1]);
    setTabOrder(m_boxes[1], m_boxes[2]);
    setTabOrder(m_boxes[2], m_ok);
    setTabOrder(m_ok, m_cancel);
    m_boxes[0]->setFocus();

    connect(m_boxes[0], &QLineEdit::textChanged, this, [this] { m_oldRight.reset(); });
    m_checks->add(m_boxes[0], [this] { return oldPasswordRight(); });
    m_checks->add(m_boxes[2], [this] { return confirmationEqual(); });
    m_checks->exempt(m_cancel);

    connect(m_ok, &QPushButton::clicked, this, &ModifyPassword::cmdOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ModifyPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            // After the mouse press that brought the focus has placed the cursor.
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

// Letter case aside, but surrounding blanks count here.
bool ModifyPassword::oldPasswordRight()
{
    if (!m_oldRight)
        m_oldRight = PasswordMatches(m_state.PasswordHash, m_boxes[0]->text());
    return *m_oldRight;
}

bool ModifyPassword::confirmationEqual() const
{
    return m_boxes[2]->text() == m_boxes[1]->text();
}

void ModifyPassword::cmdOKClick()
{
    // OK is reachable without leaving the checked boxes (a click from the new
    // password box, Enter there), so it checks them itself.
    if (!oldPasswordRight()) {
        m_boxes[0]->setFocus();
        return;
    }
    if (!confirmationEqual()) {
        m_boxes[2]->setFocus();
        return;
    }

    for (;;) {
        // Found afresh each time: a Retry may follow repairs to the folder.
        SettingsStore settings(SettingsStore::fileIn(m_state.AppPath), m_state.services.messages);
        const QString newPassword = TrimSpaces(m_boxes[2]->text());
        // No password is kept as no record text, as start-up reads it.
        const QString hash = newPassword.isEmpty() ? QString() : HashPassword(newPassword);
        const bool hashed = newPassword.isEmpty() || !hash.isEmpty();
        if (hashed && settings.WriteSetting(hash, QStringLiteral("PwInf"))) {
            m_state.PasswordHash = hash;
            accept();
            return;
        }
        if (m_state.services.messages.show(QStringLiteral("Can not store password now."),
                                           MessageBoxes::Icon::Critical,
                                           MessageBoxes::Buttons(MessageBoxes::Retry) |
                                               MessageBoxes::Cancel) != MessageBoxes::Retry) {
            reject();
            return;
        }
    }
}
