#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class AppState;
class QDataWidgetMapper;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlTableModel;

// The fee schedule editor: one class level's twenty fee items at a time.
// Amounts reach the table when the operator leaves the row or the form.
class ReviseFees : public QDialog
{
    Q_OBJECT
public:
    explicit ReviseFees(AppState &state, QWidget *parent = nullptr);
    ~ReviseFees() override;

    static constexpr int ItemCount = 20;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void moveTo(int row);
    // Writes the shown row's amounts; reports the engine's refusal.
    bool writeRow();
    void rowShown();

    AppState &m_state;
    QSqlTableModel *m_model;
    QDataWidgetMapper *m_mapper;
    QLabel *m_level;
    QList<QLabel *> m_labels;
    QList<QLineEdit *> m_boxes;
    // The boxes' texts as the row was shown, to tell what the operator changed.
    QStringList m_shown;
    QPushButton *m_close;
};
