#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>

// The receive splitter of one connection. Every read of the socket goes to
// append(); the splitter hands over, in the order they arrived, whole framed
// messages (messageReceived), untagged pieces (untaggedReceived) and, on a client
// between "vxseopen" and "vxseclos", the song bytes of the excerpt (songData).
//
// Passes: each read is split in passes. A pass hands over either one untagged
// piece, or at most one message of each tag, trying the tags in the side's order
// (wire::kClientTagOrder / kHostTagOrder) against the front of the buffer. A pass
// that takes nothing off the buffer counts; at 10 the side's warning line goes
// out (warningLine) and the rest of that read is dropped; a host also sends the
// line at 8 and goes on. So only a front that starts like a tag but matches none
// of them ends that read with the warning; any number of messages in one read are
// handed over.
//
// Work: the search for the closing tag of an unfinished message goes on from
// where the previous read left it, so the work stays linear in what arrives.
//
// Cut messages: a message whose closing tag has not arrived, or a front that may
// be the start of a tag ("vx", "vxsech"), stays in the buffer and is completed by
// the next read. Nothing of it is handed over before that. So a run of messages
// that one read hands over without the warning is handed over the same however
// TCP cuts it into reads (the counter itself counts per read).
//
// Song data: after "vxseopen" every byte is song data up to the closing frame
// "vxseclos|vxsecloseinde" (the host sends nothing else on the connection in
// between). The excerpt is at most N = (seconds + 2) x 25000 bytes, N taken from
// "vxsestar"; a shorter song is sent whole. A closing frame ends the song when it
//   - lies exactly N bytes after "vxseopen" (a full excerpt), or
//   - is followed by the start of another host message: a tag other than
//     "vxseclos" and "|" (no "vxseclos" can follow the real one), or
//   - is followed by nothing at all for kSettleMs (settle()): the end of a short
//     song, after which the host sends nothing for a while.
// A closing frame followed by anything else is song data. Until that is decided
// the frame and the bytes after it wait in the buffer; the outcome does not
// depend on where the reads were cut.
// Limit: song bytes holding "vxseclos|vxsecloseinde" directly followed by another
// host tag and "|", or a transfer that stalls for kSettleMs right after such bytes,
// end the song there. Everything else, "vxse", "vxcl", "vxseclos|" and the whole
// closing frame included, arrives byte for byte.
//
// Nested reads: a handler that lets events run may get append() called again.
// That call only adds the read to the buffer; the outer call splits the reads one
// after the other, each with its own pass counter, so everything is handed over
// in arrival order.
//
// Bound: at most kMaxPending bytes wait in the buffer; a read that would pass it
// drops everything waiting, and overflowed() reports it. Song data is bounded too:
// more than songLimit() bytes after "vxseopen" end the song at once (songAborted);
// those bytes are dropped and what follows is read as ordinary messages again.
class ReceiveBuffer : public QObject {
    Q_OBJECT

public:
    enum class Side { Client, Host };

    static constexpr qsizetype kMaxPending = 2 * 1024 * 1024;
    static constexpr int kSettleMs = 500;
    // Song bytes allowed beyond a full excerpt before the song is given up.
    static constexpr qint64 kSongMargin = 64 * 1024;

    static const QString kClientWarning;
    static const QString kHostWarning;

    explicit ReceiveBuffer(Side side, QObject* parent = nullptr);

    // One read of the socket.
    void append(const QByteArray& bytes);
    // No bytes came for a while: a song end that waited for more bytes is taken.
    // The internal timer calls it kSettleMs after the last read.
    void settle();
    // Forget everything (the connection closed or a new one opened).
    void reset();

    bool receivingSong() const { return m_song; }
    // An end of song data waits for more bytes or for settle().
    bool awaitingSettle() const { return m_undecided; }
    qsizetype pendingBytes() const { return m_buf.size() - m_pos; }
    // Size of a full excerpt from "vxsestar"; 0 while unknown.
    qint64 excerptSize() const { return m_excerptSize; }
    // The most song bytes one excerpt may bring: a full excerpt and a margin, or
    // kMaxPending while the excerpt size is unknown.
    qint64 songLimit() const {
        return m_excerptSize > 0 ? m_excerptSize + kSongMargin : qint64(kMaxPending);
    }

signals:
    void messageReceived(const QByteArray& message);
    void untaggedReceived(const QByteArray& piece);
    void songData(const QByteArray& bytes);
    void warningLine(const QString& line);
    void overflowed(qsizetype droppedBytes);
    // The song passed songLimit(): it is not a song any more.
    void songAborted();

private:
    enum class Kind { Message, Untagged, Song, SongAborted, Warning };
    struct Event {
        Kind kind;
        QByteArray bytes;
    };
    enum class CloseFrame { End, Undecided, SongData };
    struct SongScan {
        qsizetype length; // song bytes at the front
        bool ended;       // the closing frame follows them
    };

    void drain();
    QList<Event> splitRead(qsizetype end);
    bool tagPass(qsizetype end, QList<Event>& out, bool& wait);
    SongScan scanSong(QByteArrayView v);
    CloseFrame judgeCloseFrame(QByteArrayView v, qsizetype at) const;
    QByteArrayView view(qsizetype end) const;
    QByteArray take(qsizetype n);
    void skip(qsizetype n);
    void dropPending();
    void compact();

    const Side m_side;
    const QByteArrayView m_prefix;
    QByteArray m_buf;
    qsizetype m_pos = 0;           // bytes of m_buf already handed over
    std::deque<qsizetype> m_reads; // ends (in m_buf) of reads not yet split
    bool m_draining = false;
    qint64 m_consumed = 0;    // bytes taken off the front since construction
    qint64 m_scanFront = -1;  // m_consumed when the front message was last searched
    qsizetype m_scanned = 0;  // bytes of that front searched for its closing tag
    quint64 m_generation = 0; // changes when pending bytes are dropped
    bool m_song = false;
    qint64 m_songOffset = 0; // song bytes handed over since "vxseopen"
    qint64 m_excerptSize = 0;
    bool m_undecided = false;
    bool m_settled = false;
    QTimer m_settleTimer;
};
