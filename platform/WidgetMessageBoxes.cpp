#include "platform/WidgetMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

MessageBoxes::Button WidgetMessageBoxes::show(const QString &text, Icon icon, Buttons buttons)
{
    return showTitled(title(), text, icon, buttons);
}

MessageBoxes::Button WidgetMessageBoxes::showTitled(const QString &caption, const QString &text, Icon icon,
                                                    Buttons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    struct Map { Button ours; QMessageBox::StandardButton qt; };
    const Map map[] = {{Ok, QMessageBox::Ok}, {Yes, QMessageBox::Yes}, {No, QMessageBox::No},
                       {Retry, QMessageBox::Retry}, {Cancel, QMessageBox::Cancel}};
    QMessageBox::StandardButtons qtButtons;
    for (const Map &m : map)
        if (buttons.testFlag(m.ours))
            qtButtons |= m.qt;
    if (!qtButtons)
        qtButtons = QMessageBox::Ok;
    box.setStandardButtons(qtButtons);
    // The first button is the default, as the office's old program had it.
    for (const Map &m : map) {
        if (buttons.testFlag(m.ours)) {
            box.setDefaultButton(m.qt);
            break;
        }
    }
    const int answer = box.exec();
    for (const Map &m : map)
        if (answer == m.qt)
            return m.ours;
    // Closed with the title bar's box: the escape button.
    if (buttons.testFlag(Cancel))
        return Cancel;
    if (buttons.testFlag(No))
        return No;
    return Ok;
}
