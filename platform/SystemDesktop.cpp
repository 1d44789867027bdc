#include "platform/SystemDesktop.h"

#include <QEventLoop>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTextDocument>
#include <QUrl>

bool SystemDesktop::hasPrinter() const
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool SystemDesktop::print(QTextDocument &document, QWidget *parent)
{
    // A new printer starts on the system's default one.
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}

namespace {

// What a tool printed, or null when it could not be run.
QString toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(program, arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

} // namespace

Desktop::Opened SystemDesktop::openPage(const QString &address)
{
    const QString scheme = QUrl(address).scheme().toLower();
    const QString type = scheme == QLatin1String("mailto") ? QStringLiteral("x-scheme-handler/mailto")
                                                           : QStringLiteral("text/html");
    if (toolOutput(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type})
            .isEmpty())
        return Opened::NoBrowser;

    // Without a desktop environment xdg-open waits for the browser it starts,
    // so it runs in the background of a small shell that reports a failure to
    // start (an early end with an error) and otherwise leaves it running.
    static const QString watch = QStringLiteral(
        "\"$0\" \"$1\" </dev/null >/dev/null 2>&1 & p=$!; i=0; "
        "while kill -0 $p 2>/dev/null; do [ $i -ge 20 ] && exit 0; sleep 0.1; i=$((i+1)); done; "
        "wait $p");
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.setStandardErrorFile(QProcess::nullDevice());
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), watch, QStringLiteral("xdg-open"), address});
    QEventLoop loop;
    QObject::connect(&shell, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&shell, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    if (shell.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (shell.state() != QProcess::NotRunning)
        shell.waitForFinished(5000);
    return shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0 &&
                   shell.error() == QProcess::UnknownError
               ? Opened::Shown
               : Opened::StartFailed;
}
