#include "game/Form7.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>

namespace {
// The hourglass while the printout is made.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

void Form7::Command2_Click() {
    PrintOutcome outcome;
    {
        WaitCursor wait;
        outcome = printResults(sheet());
    }
    if (!outcome.printed)
        MsgBox(QStringLiteral("The results could not be printed."), MsgIcon::Critical);
    else if (outcome.noPrinter)
        MsgBox(QStringLiteral("No printer is installed. The results were saved in ") +
                   QDir::toNativeSeparators(outcome.pdfFile),
               MsgIcon::Information);
}
