#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Shared by the fuzz targets: a Qt application for timers, a scratch folder, and
// a reader that takes pieces off the fuzzer's input.

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

inline void fuzzApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

inline QString scratchFolder() {
    static QTemporaryDir dir;
    return dir.path();
}

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_at >= m_size; }
    uint8_t byte() { return empty() ? 0 : m_data[m_at++]; }
    uint16_t word() {
        const uint16_t lo = byte();
        return uint16_t(lo | (uint16_t(byte()) << 8));
    }
    QByteArray take(size_t n) {
        n = std::min(n, m_size - std::min(m_at, m_size));
        QByteArray out(reinterpret_cast<const char*>(m_data + m_at), qsizetype(n));
        m_at += n;
        return out;
    }
    // Up to the next NUL (dropped) or the end.
    QByteArray field() {
        size_t end = m_at;
        while (end < m_size && m_data[end] != 0)
            ++end;
        QByteArray out = take(end - m_at);
        if (!empty()) ++m_at;
        return out;
    }
    QByteArray rest() { return take(m_size); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};
