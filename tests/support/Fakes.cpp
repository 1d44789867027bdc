#include "Fakes.h"

#include <QFileInfo>

MessageBoxes::Button ScriptedMessageBoxes::show(const QString &text, Icon icon, Buttons buttons)
{
    return showTitled(title(), text, icon, buttons);
}

MessageBoxes::Button ScriptedMessageBoxes::showTitled(const QString &caption, const QString &text, Icon icon,
                                                      Buttons buttons)
{
    shown.append({text, icon, buttons, caption});
    if (onShow)
        onShow(text);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    for (Button b : {Ok, Yes, No, Retry, Cancel})
        if (buttons.testFlag(b))
            return b;
    return Ok;
}

QStringList ScriptedMessageBoxes::texts() const
{
    QStringList t;
    for (const Shown &s : shown)
        t.append(s.text);
    return t;
}

void RecordingWaiter::waitSeconds(int seconds)
{
    waits.append(seconds);
    if (journal)
        journal->append(QStringLiteral("wait %1").arg(seconds));
}

namespace {
QString shortName(const QString &file)
{
    return QFileInfo(file).fileName();
}
} // namespace

void RecordingSoundPlayer::playWave(const QString &file, int mode)
{
    const QString c = QStringLiteral("wave %1 %2").arg(shortName(file)).arg(mode);
    calls.append(c);
    if (journal)
        journal->append(c);
}

void RecordingSoundPlayer::stopWave()
{
    calls.append(QStringLiteral("stop wave"));
    if (journal)
        journal->append(QStringLiteral("stop wave"));
}

void RecordingSoundPlayer::playMusic(const QString &file)
{
    playing = true;
    const QString c = QStringLiteral("music %1").arg(shortName(file));
    calls.append(c);
    if (journal)
        journal->append(c);
}

void RecordingSoundPlayer::stopMusic()
{
    playing = false;
    calls.append(QStringLiteral("stop music"));
    if (journal)
        journal->append(QStringLiteral("stop music"));
}
