#pragma once

#include <QString>

// The only way the program shows a message box. The widget implementation
// lives in the forms library; tests answer from a script.
class MessageBoxes
{
public:
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum Button { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8, Retry = 16 };
    Q_DECLARE_FLAGS(Buttons, Button)

    virtual ~MessageBoxes() = default;

    // Shows `text` under the program's title and returns the button pressed.
    // Closing the box counts as its escape button (Cancel, No, or Ok).
    virtual Button show(const QString &text, Icon icon, Buttons buttons) = 0;
    // The same under a title of its own, for the few messages that carry one.
    virtual Button showTitled(const QString &caption, const QString &text, Icon icon, Buttons buttons)
    {
        Q_UNUSED(caption);
        return show(text, icon, buttons);
    }

    void ok(const QString &text, Icon icon = Icon::None) { show(text, icon, Ok); }
    bool yes(const QString &text, Icon icon = Icon::Question)
    {
        return show(text, icon, Buttons(Yes) | No) == Yes;
    }

    static QString title() { return QStringLiteral("Kolvane"); }
    static QString lines(std::initializer_list<QString> parts)
    {
        QString text;
        for (const QString &p : parts) {
            if (!text.isEmpty())
                text += QStringLiteral("\r\n");
            text += p;
        }
        return text;
    }
};
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageBoxes::Buttons)
