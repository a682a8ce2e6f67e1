#pragma once

#include <QTest>

// One row of a data function: the name, then the values in column order.
template <typename... Values> void dataRow(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}
