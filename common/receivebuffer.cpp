#include "common/receivebuffer.h"

#include "common/protocol.h"

#include <QPointer>
#include <QtGlobal>
#include <span>

const QString ReceiveBuffer::kClientWarning = QStringLiteral(
    "--INFINITE LOOP IN DATA RECEIVER - Data dropped, sorry for the inconvenience--");
const QString ReceiveBuffer::kHostWarning = QStringLiteral(
    "--INFINITE LOOP IN DATA RECEIVER - Client Data dropped, sorry for the inconvenience--");

namespace {

constexpr QByteArrayView kCloseFrame = "vxseclos|vxsecloseinde";
constexpr int kHostWarningPass = 8;
constexpr int kLastPass = 10;

// Length of the longest end of v that is the start of what (shorter than what).
qsizetype cutStartAtEnd(QByteArrayView v, QByteArrayView what) {
    for (qsizetype n = std::min(v.size(), what.size() - 1); n > 0; --n) {
        if (v.last(n) == what.first(n)) return n;
    }
    return 0;
}

// v could be the first bytes of one of the tags (followed by "|" when withBar).
bool startsLikeTag(QByteArrayView v, std::span<const char* const> tags, bool withBar,
                   QByteArrayView except = {}) {
    for (const char* tag : tags) {
        if (QByteArrayView(tag) == except) continue;
        const QByteArray head = withBar ? QByteArray(tag) + '|' : QByteArray(tag);
        if (v.size() <= head.size() ? head.startsWith(v) : v.startsWith(head)) return true;
    }
    return false;
}

} // namespace

ReceiveBuffer::ReceiveBuffer(Side side, QObject* parent)
    : QObject(parent), m_side(side), m_prefix(side == Side::Client ? "vxse" : "vxcl") {
    m_settleTimer.setObjectName(QStringLiteral("tmrsettle"));
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(kSettleMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &ReceiveBuffer::settle);
}

void ReceiveBuffer::append(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    m_settleTimer.stop();
    m_settled = false;
    if (pendingBytes() + bytes.size() > kMaxPending) {
        const qsizetype dropped = pendingBytes() + bytes.size();
        qWarning("receive buffer: %lld bytes waiting, all dropped", qint64(dropped));
        dropPending();
        emit overflowed(dropped);
        return;
    }
    m_buf.append(bytes);
    m_reads.push_back(m_buf.size());
    if (!m_draining) drain();
}

void ReceiveBuffer::settle() {
    if (!m_undecided) return;
    m_settled = true;
    m_reads.push_back(m_buf.size()); // a read without new bytes
    if (!m_draining) drain();
}

void ReceiveBuffer::reset() {
    dropPending();
    m_excerptSize = 0;
}

void ReceiveBuffer::dropPending() {
    m_buf.clear();
    m_pos = 0;
    m_reads.clear();
    m_song = false;
    m_songOffset = 0;
    m_undecided = false;
    m_settled = false;
    m_settleTimer.stop();
    ++m_generation;
    m_scanFront = -1; // no search is resumed across a drop
    m_scanned = 0;
}

void ReceiveBuffer::compact() {
    if (m_pos == 0) return;
    m_buf.remove(0, m_pos);
    for (qsizetype& end : m_reads)
        end -= m_pos;
    m_pos = 0;
}

QByteArrayView ReceiveBuffer::view(qsizetype end) const {
    return QByteArrayView(m_buf).sliced(m_pos, end - m_pos);
}

// Splits the reads one after the other and hands over what each gives. A handler
// may append (only queued here), reset the buffer (the rest of that read's output
// is then dropped) or delete this object.
void ReceiveBuffer::drain() {
    QPointer<ReceiveBuffer> self(this);
    m_draining = true;
    while (!m_reads.empty()) {
        compact();
        const qsizetype end = m_reads.front();
        m_reads.pop_front();
        const QList<Event> events = splitRead(end);
        const quint64 generation = m_generation;
        for (const Event& e : events) {
            switch (e.kind) {
            case Kind::Message:
                emit messageReceived(e.bytes);
                break;
            case Kind::Untagged:
                emit untaggedReceived(e.bytes);
                break;
            case Kind::Song:
                emit songData(e.bytes);
                break;
            case Kind::SongAborted:
                emit songAborted();
                break;
            case Kind::Warning:
                emit warningLine(m_side == Side::Client ? kClientWarning : kHostWarning);
                break;
            }
            if (!self) return;
            if (m_generation != generation) break;
        }
    }
    m_draining = false;
    compact();
    if (m_undecided) m_settleTimer.start();
}

// One read: the bytes up to end, after whatever earlier reads left waiting.
QList<ReceiveBuffer::Event> ReceiveBuffer::splitRead(qsizetype end) {
    QList<Event> out;
    int passes = 1;
    while (m_pos < end) {
        bool progress = false;
        bool wait = false;
        if (m_song) {
            const SongScan scan = scanSong(view(end));
            if (m_songOffset + scan.length > songLimit()) {
                skip(scan.length);
                m_song = false;
                m_songOffset = 0;
                m_undecided = false;
                m_settled = false;
                out.push_back({Kind::SongAborted, {}});
                progress = true;
            } else if (scan.length > 0) {
                m_songOffset += scan.length;
                out.push_back({Kind::Song, take(scan.length)});
                progress = true;
            }
            if (scan.ended) {
                m_song = false;
                m_songOffset = 0;
                m_settled = false;
            } else if (!progress) {
                wait = true;
            }
        }
        if (!m_song && !progress && !wait) {
            const QByteArrayView v = view(end);
            if (v.startsWith(m_prefix)) {
                progress = tagPass(end, out, wait);
            } else {
                const qsizetype at = v.indexOf(m_prefix);
                const qsizetype length = at >= 0 ? at : v.size() - cutStartAtEnd(v, m_prefix);
                if (length > 0) {
                    out.push_back({Kind::Untagged, take(length)});
                    progress = true;
                } else {
                    wait = true;
                }
            }
        }
        if (wait && !progress) break;
        // Only a pass that takes nothing off the buffer counts: a read holding
        // many messages is split whole.
        if (!progress) ++passes;
        if (m_side == Side::Host && passes == kHostWarningPass) out.push_back({Kind::Warning, {}});
        if (passes == kLastPass) {
            out.push_back({Kind::Warning, {}});
            // Song bytes are never dropped: they wait for the next read or settle().
            if (m_song) {
                m_undecided = m_pos < end;
            } else {
                skip(end - m_pos);
            }
            break;
        }
        if (wait) break;
    }
    return out;
}

QByteArray ReceiveBuffer::take(qsizetype n) {
    QByteArray out = m_buf.mid(m_pos, n);
    skip(n);
    return out;
}

void ReceiveBuffer::skip(qsizetype n) {
    m_pos += n;
    m_consumed += n;
}

// Tries each tag once against the front. Returns whether a message was taken;
// wait is set when the front is a message or tag not yet whole.
bool ReceiveBuffer::tagPass(qsizetype end, QList<Event>& out, bool& wait) {
    const std::span<const char* const> order =
        m_side == Side::Client ? std::span<const char* const>(wire::kClientTagOrder)
                               : std::span<const char* const>(wire::kHostTagOrder);
    bool progress = false;
    for (const char* tag : order) {
        const QByteArrayView v = view(end);
        if (v.isEmpty()) break;
        if (v.size() < wire::kTagLength) {
            wait = startsLikeTag(v, order, false);
            break;
        }
        if (!v.startsWith(tag)) continue;
        // An unfinished message is searched on from where the last read stopped.
        const QByteArray closing = wire::closingTag(tag);
        const qsizetype from =
            m_scanFront == m_consumed ? std::max<qsizetype>(0, m_scanned - closing.size() + 1) : 0;
        const qsizetype close = v.indexOf(closing, from);
        if (close < 0) {
            m_scanFront = m_consumed;
            m_scanned = v.size();
            wait = true;
            break;
        }
        const QByteArray message = take(close + wire::kTagLength + 5);
        progress = true;
        if (QByteArrayView(tag) == wire::vxsestar) {
            const auto start = wire::parseStart(message);
            m_excerptSize = start ? qMax(0, wire::excerptSize(start->vraagtijd.toShort())) : 0;
        }
        out.push_back({Kind::Message, message});
        if (m_side == Side::Client && QByteArrayView(tag) == wire::vxseopen) {
            m_song = true;
            m_songOffset = 0;
            break;
        }
    }
    return progress;
}

// The song bytes at the front of v, and whether the closing frame follows them.
ReceiveBuffer::SongScan ReceiveBuffer::scanSong(QByteArrayView v) {
    m_undecided = false;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = v.indexOf(kCloseFrame, from);
        if (at < 0) return {v.size() - cutStartAtEnd(v, kCloseFrame), false};
        switch (judgeCloseFrame(v, at)) {
        case CloseFrame::End:
            return {at, true};
        case CloseFrame::Undecided:
            m_undecided = true;
            return {at, false};
        case CloseFrame::SongData:
            from = at + 1;
            break;
        }
    }
}

ReceiveBuffer::CloseFrame ReceiveBuffer::judgeCloseFrame(QByteArrayView v, qsizetype at) const {
    if (m_excerptSize > 0 && m_songOffset + at == m_excerptSize) return CloseFrame::End;
    constexpr qsizetype kLook = wire::kTagLength + 1;
    const QByteArrayView after = v.sliced(at + kCloseFrame.size());
    const QByteArrayView look = after.first(std::min(after.size(), kLook));
    if (!startsLikeTag(look, wire::kClientTagOrder, true, wire::vxseclos))
        return CloseFrame::SongData;
    if (look.size() == kLook || m_settled) return CloseFrame::End;
    return CloseFrame::Undecided;
}
