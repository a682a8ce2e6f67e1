#pragma once

#include <QtGlobal>
#include <limits>

// Scores are 16-bit. Adding points stops at the ends of the 16-bit range
// instead of wrapping round to the other sign.
inline qint16 addPoints(qint16 score, qint32 points) {
    const qint64 sum = qint64(score) + points;
    if (sum > std::numeric_limits<qint16>::max()) return std::numeric_limits<qint16>::max();
    if (sum < std::numeric_limits<qint16>::min()) return std::numeric_limits<qint16>::min();
    return qint16(sum);
}
