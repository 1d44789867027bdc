#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>
#include <vector>

class QWidget;

// The one way a form keeps the focus in a field until its content is
// acceptable. While the field that has the focus fails its check, the form
// swallows whatever would leave it or act elsewhere in the window: Tab and
// Backtab, Enter on the default button, access keys, and mouse presses on
// other widgets. No message is shown. Widgets marked exempt (a Cancel button)
// stay usable. A field is checked only when it has the focus, so a field the
// operator never entered is never checked.
class FieldChecks : public QObject
{
    Q_OBJECT
public:
    explicit FieldChecks(QWidget *form);

    void add(QWidget *field, std::function<bool()> passes);
    void exempt(QWidget *widget);

    // The field that has the focus and fails its check, or null.
    QWidget *failingField() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Check
    {
        QPointer<QWidget> field;
        std::function<bool()> passes;
    };
    bool isExempt(const QWidget *w) const;

    QWidget *m_form;
    std::vector<Check> m_checks;
    QList<QPointer<QWidget>> m_exempt;
};
