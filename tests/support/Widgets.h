#pragma once

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>

// The widget named `name` under `form`, or null when there is none of type T.
template<class T = QWidget>
T *widget(const QObject *form, const QString &name)
{
    return form->findChild<T *>(name);
}

template<class T = QWidget>
T *widget(const QObject *form, const char *name)
{
    return form->findChild<T *>(QLatin1String(name));
}

// Shows a form the way an operator meets it: on top, with the keyboard.
inline bool showActive(QWidget *form)
{
    form->show();
    form->activateWindow();
    return QTest::qWaitForWindowActive(form);
}

// Saves a picture of the form, named after it, when KOLVANE_GRAB_DIR names a folder.
inline void grabPng(QWidget *form)
{
    if (qEnvironmentVariableIsSet("KOLVANE_GRAB_DIR"))
        form->grab().save(qEnvironmentVariable("KOLVANE_GRAB_DIR") + u'/' + form->objectName() +
                          QStringLiteral(".png"));
}

// A left click on the named widget, in its middle or at `at`.
inline void click(const QObject *form, const char *name, QPoint at = {})
{
    QTest::mouseClick(widget(form, name), Qt::LeftButton, {}, at);
}

// Into a line box as an operator does: click, select what is there, type over it.
inline void retype(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

// A click (or a double click) on the list's line that reads `text`.
inline void clickLine(QListWidget *list, const QString &text, bool twice = false)
{
    const QListWidgetItem *line = list->findItems(text, Qt::MatchExactly).value(0);
    const QPoint at = line ? list->visualItemRect(line).center() : QPoint(-1, -1);
    twice ? QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at)
          : QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The texts of the list's lines, or of its ticked lines only.
inline QStringList lines(const QListWidget *list, bool tickedOnly = false)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (!tickedOnly || list->item(i)->checkState() == Qt::Checked)
            out << list->item(i)->text();
    return out;
}

inline QByteArray fileBytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
