#pragma once

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
