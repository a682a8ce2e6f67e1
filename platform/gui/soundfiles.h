#pragma once

// The sound effects the game plays from its program folder: "start.wav" when a
// client's connection comes up and "answers.wav" for an answer. Both are built into
// the program; this writes each one into the program folder when it is missing there.
// Returns false when a file could not be written (the game then plays no sound).
bool installSoundFiles();
