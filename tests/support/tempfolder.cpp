#include "tests/support/tempfolder.h"

#include "platform/programfolder.h"

TempProgramFolder::TempProgramFolder() : previous_(programFolder()) {
    setProgramFolder(dir_.path());
}

TempProgramFolder::~TempProgramFolder() { setProgramFolder(previous_); }
