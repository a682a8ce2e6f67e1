#pragma once

#include "platform/gui/programend.h"

#include <QApplication>
#include <QtTest>

// QTEST_MAIN for a suite that plays media: the process ends as the program does,
// once the application object and its players have gone (endProgram).
#define VDX_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char* argv[]) {                                                             \
        int status = 0;                                                                            \
        {                                                                                          \
            QApplication app(argc, argv);                                                          \
            app.setAttribute(Qt::AA_Use96Dpi, true);                                               \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            status = QTest::qExec(&tc, argc, argv);                                                \
        }                                                                                          \
        return endProgram(status);                                                                 \
    }
