#pragma once

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A TCP proxy on 127.0.0.1 that holds every chunk for a while in each direction, as
// a link across the internet does: a program connected to port() reaches the server
// on 127.0.0.1:target with a round trip of twice oneWay. It runs on a thread of its
// own, so it goes on forwarding while the test's thread waits in a blocking call. A
// side that closes its connection closes the other one, after the same delay.
class DelayProxy {
public:
    DelayProxy(quint16 target, std::chrono::milliseconds oneWay);
    ~DelayProxy();
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    bool isListening() const { return listener_ >= 0; }
    quint16 port() const { return port_; }
    // From the moment the client sends bytes that hold marker, what the server sends
    // is kept back (a link that stops answering) until releaseReplies(); then it goes
    // on to the client when its time has come.
    void holdRepliesAfter(const std::string& marker);
    void releaseReplies();

private:
    using Clock = std::chrono::steady_clock;
    struct Chunk {
        Clock::time_point due;
        std::string bytes; // empty: the sending side closed
    };
    struct Link {
        int client = -1, server = -1;
        std::deque<Chunk> up, down; // towards the server, towards the client
        bool done = false;
    };

    void run();
    void accept();
    // Reads what from has sent into queue; false once it closed.
    bool receive(int from, std::deque<Chunk>& queue);
    // Delivers the chunks of queue whose time has come; false once a close came.
    bool deliver(std::deque<Chunk>& queue, int to, Clock::time_point now);

    const quint16 target_;
    const std::chrono::milliseconds oneWay_;
    int listener_ = -1;
    quint16 port_ = 0;
    int wake_[2] = {-1, -1}; // the destructor writes to wake_[1] to stop the thread
    std::mutex markerMutex_;
    std::string marker_; // holds replies once the client sent it; empty: none
    std::atomic<bool> holdReplies_{false};
    std::vector<Link> links_;
    std::thread thread_;
};
