#pragma once

// On X11, Qt hands the window's backing store to the server through shared memory
// and, before each paint over a region it has just handed over, waits for a round trip
// to the server. The trivia clock repaints a small box 100 times a second, so that wait
// costs more than the copy it saves. Call before the QApplication is made: the window
// contents then go to the server over the connection itself. A value the user has set
// in QT_XCB_NO_MITSHM stays.
void preferPlainXImages();
