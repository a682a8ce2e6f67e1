#include "common/musicdraw.h"

#include "common/gamestate.h"
#include "platform/rnd.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// After this many redraws the lowest free index is taken instead. A fair source never
// gets there; the limit keeps a broken one from hanging the round.
constexpr int kMaxRedraws = 1000;

qint16 drawIndex(qint16 bound, const RndFunction& rnd) {
    const double x = std::floor((double(bound) + 1) * rnd());
    if (!(x >= 0)) return 0; // also NaN
    if (x > bound) return bound;
    return qint16(x);
}

bool taken(const qint16* drawn, int count, qint16 x) {
    return std::find(drawn, drawn + count, x) != drawn + count;
}

// An index that differs from the count indices drawn so far.
qint16 drawOther(qint16 bound, const RndFunction& rnd, const qint16* drawn, int count) {
    for (int i = 0; i < kMaxRedraws; ++i) {
        const qint16 x = drawIndex(bound, rnd);
        if (!taken(drawn, count, x)) return x;
    }
    qint16 x = 0;
    while (taken(drawn, count, x))
        ++x;
    return x;
}
} // namespace

qint16 songDrawBound(qsizetype count) {
    return qint16(qMin<qsizetype>(count - 1, std::numeric_limits<qint16>::max()));
}

bool canDrawMusicQuestion(qint16 liedbovengrens, const QStringList& liedpaden,
                          const QStringList& liedtitels) {
    return liedbovengrens >= kMinDrawableSongs - 1 && liedbovengrens < liedpaden.size() &&
           liedbovengrens < liedtitels.size();
}

QString songFilePath(const QString& path) {
    if (path.startsWith(u'\\') && !path.startsWith(QLatin1String("\\\\")))
        return QStringLiteral("c:") + path;
    return path;
}

bool drawMusicQuestion(const QStringList& liedpaden, const QStringList& liedtitels,
                       qint16 liedbovengrens, const RndFunction& rnd, MusicQuestion& out) {
    if (!canDrawMusicQuestion(liedbovengrens, liedpaden, liedtitels)) return false;
    const qint16 L = liedbovengrens;

    // The song, a, b and c in draw order.
    qint16 drawn[4] = {};
    drawn[0] = drawIndex(L, rnd);
    for (int i = 1; i < 4; ++i)
        drawn[i] = drawOther(L, rnd, drawn, i);
    const qint16 song = drawn[0], a = drawn[1], b = drawn[2], c = drawn[3];

    MusicQuestion q;
    q.huidiglied = song;
    q.liedpad = songFilePath(liedpaden.at(song));
    if (a < L / 4.0)
        q.juistekeuze = 1;
    else if (a < L / 2.0)
        q.juistekeuze = 2;
    else if (a < L / 1.33)
        q.juistekeuze = 3;
    else
        q.juistekeuze = 4;

    // The others fill the places around the right title in the order a, b, c.
    const qint16 others[3] = {a, b, c};
    int next = 0;
    for (int place = 1; place <= 4; ++place)
        q.keuzes[place] = liedtitels.at(place == q.juistekeuze ? song : others[next++]);
    out = q;
    return true;
}

bool prepareMusicQuestion(qint16& huidiglied) {
    GameState& s = state();
    MusicQuestion q;
    if (!drawMusicQuestion(s.liedpaden, s.liedtitels, s.liedbovengrens, Rnd, q)) return false;
    huidiglied = q.huidiglied;
    s.liedpad = q.liedpad;
    for (int i = 1; i <= 4; ++i)
        s.keuzes[i] = q.keuzes[i];
    s.juistekeuze = q.juistekeuze;
    return true;
}
