#pragma once

#include <QString>

class Desktop;
class MessageBoxes;

// Shows a page in the desktop's browser, or hands a mail address (kind 1) to
// the mail program as "mailto:". A file path becomes its file:// address; a
// web address is used as it is. Failures are told in a message box.
void OpenReportPage(Desktop &desktop, MessageBoxes &messages, int kind, const QString &target);
