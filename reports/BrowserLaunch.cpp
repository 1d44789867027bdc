#include "reports/BrowserLaunch.h"

#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"

#include <QUrl>

void OpenReportPage(Desktop &desktop, MessageBoxes &messages, int kind, const QString &target)
{
    QString address = target;
    if (kind == 1)
        address = QStringLiteral("mailto:") + target;
    else if (target.startsWith(u'/'))
        address = QString::fromLatin1(QUrl::fromLocalFile(target).toEncoded());
    switch (desktop.openPage(address)) {
    case Desktop::Opened::Shown:
        break;
    case Desktop::Opened::NoBrowser:
        messages.ok(QStringLiteral("Could not find a functional Web Browser associated with .htm files"));
        break;
    case Desktop::Opened::StartFailed:
        messages.ok(QStringLiteral("Could not open associated Browser or report page"));
        break;
    }
}
