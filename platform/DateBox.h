#pragma once

#include <QDateEdit>

// A date picker that takes a date typed whole (see readTypedDate) rather than
// section by section, and that Tab leaves in one step. The first character
// typed after the box is entered starts a fresh date.
class DateBox : public QDateEdit
{
    Q_OBJECT
public:
    explicit DateBox(QWidget *parent = nullptr);

    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

protected:
    QDateTime dateTimeFromText(const QString &text) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool m_typing = false;
};
