#pragma once

// Shows message boxes and input boxes as real dialogs.
void installWidgetDialogs();
