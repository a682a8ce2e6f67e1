#include "platform/gui/programend.h"

#include "platform/gui/mediaworker.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

int endProgram(int status) {
    if (QCoreApplication::instance() || MediaWorker::running() != 0) return status;
    std::fflush(nullptr);
    std::_Exit(status);
}
