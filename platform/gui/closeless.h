#pragma once

class QWidget;

// Takes the close box off a window and makes it ignore close requests from the
// window system (the close box, Alt+F4). The window then closes only through its
// own commands, which call closeByProgram() or hide it.
void RemoveCloseMenuItem(QWidget* window);

// Closes a window that RemoveCloseMenuItem guards.
bool closeByProgram(QWidget* window);
