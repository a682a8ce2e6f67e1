#pragma once

// The end of main() in a program that may have played media, once its application
// object has gone and the players with it (MediaWorker::finishAll). At exit the media
// libraries tear down what is left of them, and Qt Multimedia (6.4) then disconnects
// from the sound server without the lock of the thread that serves the connection,
// which now and then aborts the process in PulseAudio's main loop. So, with no player
// running, the process ends here with status once stdio is flushed: no exit handler
// and no destructor of a static object runs after that. Otherwise status is returned,
// for an ordinary exit.
int endProgram(int status);
