#pragma once

#include <QDialog>

#include <array>
#include <optional>

class AppState;
class FieldChecks;
class QLineEdit;
class QPushButton;

// Replaces the operator password. Knowing the old one is the only gate.
class ModifyPassword : public QDialog
{
    Q_OBJECT
public:
    explicit ModifyPassword(AppState &state, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool oldPasswordRight();
    bool confirmationEqual() const;
    void cmdOKClick();

    AppState &m_state;
    std::array<QLineEdit *, 3> m_boxes{};
    QPushButton *m_ok;
    QPushButton *m_cancel;
    FieldChecks *m_checks;
    // The old-password verdict for the box's present text; hashing is slow,
    // and the checks ask on every key press.
    std::optional<bool> m_oldRight;
};
