#include "tests/support/delayproxy.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in loopback(quint16 port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void noDelay(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

} // namespace

DelayProxy::DelayProxy(quint16 target, std::chrono::milliseconds oneWay)
    : target_(target), oneWay_(oneWay) {
    if (::pipe2(wake_, O_CLOEXEC) != 0) return;
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        closeFd(listener_);
        return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

DelayProxy::~DelayProxy() {
    if (thread_.joinable()) {
        const char stop = 0;
        [[maybe_unused]] const ssize_t written = ::write(wake_[1], &stop, 1);
        thread_.join();
    }
    for (Link& link : links_) {
        closeFd(link.client);
        closeFd(link.server);
    }
    closeFd(listener_);
    closeFd(wake_[0]);
    closeFd(wake_[1]);
}

void DelayProxy::holdRepliesAfter(const std::string& marker) {
    const std::lock_guard lock(markerMutex_);
    marker_ = marker;
}

void DelayProxy::releaseReplies() {
    {
        const std::lock_guard lock(markerMutex_);
        marker_.clear();
    }
    holdReplies_ = false;
}

void DelayProxy::run() {
    for (;;) {
        std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Link& link : links_) {
            fds.push_back({link.client, POLLIN, 0});
            fds.push_back({link.server, POLLIN, 0});
        }
        // Sleep until something arrives or the next chunk is due.
        const Clock::time_point now = Clock::now();
        Clock::time_point next = now + std::chrono::seconds(1);
        for (const Link& link : links_) {
            if (!link.up.empty()) next = std::min(next, link.up.front().due);
            if (!link.down.empty() && !holdReplies_) next = std::min(next, link.down.front().due);
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now);
        ::poll(fds.data(), fds.size(), holdReplies_ ? 50 : int(std::max<qint64>(0, wait.count())));
        if (fds[0].revents) return;
        const size_t polled = links_.size();
        if (fds[1].revents & POLLIN) accept();
        for (size_t i = 0; i < polled; ++i) {
            Link& link = links_[i];
            if ((fds[2 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR)) &&
                !receive(link.client, link.up))
                closeFd(link.client);
            if (!link.up.empty()) {
                const std::lock_guard lock(markerMutex_);
                if (!marker_.empty() && link.up.back().bytes.find(marker_) != std::string::npos)
                    holdReplies_ = true;
            }
            if ((fds[3 + 2 * i].revents & (POLLIN | POLLHUP | POLLERR)) &&
                !receive(link.server, link.down))
                closeFd(link.server);
        }
        const Clock::time_point later = Clock::now();
        for (Link& link : links_) {
            const bool upOpen = deliver(link.up, link.server, later);
            const bool downOpen = holdReplies_ || deliver(link.down, link.client, later);
            if (!upOpen || !downOpen) {
                closeFd(link.client);
                closeFd(link.server);
                link.done = true;
            }
        }
        std::erase_if(links_, [](const Link& link) { return link.done; });
    }
}

void DelayProxy::accept() {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(target_);
    if (server < 0 ||
        ::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(client);
        if (server >= 0) ::close(server);
        return;
    }
    noDelay(client);
    noDelay(server);
    Link link;
    link.client = client;
    link.server = server;
    links_.push_back(std::move(link));
}

bool DelayProxy::receive(int from, std::deque<Chunk>& queue) {
    if (from < 0) return true;
    char buffer[65536];
    const ssize_t n = ::recv(from, buffer, sizeof buffer, 0);
    if (n <= 0) {
        queue.push_back({Clock::now() + oneWay_, {}});
        return false;
    }
    queue.push_back({Clock::now() + oneWay_, std::string(buffer, size_t(n))});
    return true;
}

bool DelayProxy::deliver(std::deque<Chunk>& queue, int to, Clock::time_point now) {
    while (!queue.empty() && queue.front().due <= now) {
        const std::string bytes = std::move(queue.front().bytes);
        queue.pop_front();
        if (bytes.empty() || to < 0) return false;
        for (size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = ::send(to, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += size_t(n);
        }
    }
    return true;
}
