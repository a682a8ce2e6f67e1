#include "platform/icmpecho.h"

#include <QRandomGenerator>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

class IcmpSocket {
public:
    IcmpSocket() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd_ < 0) {
            fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
            raw_ = fd_ >= 0;
        }
        if (fd_ >= 0 && !raw_) {
            // ICMP errors about our requests arrive on the error queue.
            const int on = 1;
            ::setsockopt(fd_, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
        }
    }
    ~IcmpSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    bool ok() const { return fd_ >= 0; }
    bool raw() const { return raw_; }
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    bool raw_ = false;
};

quint16 checksum(const QByteArray& data) {
    quint32 sum = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        sum += quint32(p[i] << 8 | p[i + 1]);
    if (data.size() % 2) sum += quint32(p[data.size() - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return quint16(~sum);
}

QByteArray echoRequest(quint16 id, quint16 seq, const QByteArray& payload) {
    QByteArray packet(8, '\0');
    packet[0] = char(ICMP_ECHO);
    packet[4] = char(id >> 8);
    packet[5] = char(id & 0xff);
    packet[6] = char(seq >> 8);
    packet[7] = char(seq & 0xff);
    packet += payload;
    const quint16 sum = checksum(packet);
    packet[2] = char(sum >> 8);
    packet[3] = char(sum & 0xff);
    return packet;
}

quint16 read16(const unsigned char* p) {
    return quint16(p[0] << 8 | p[1]);
}

// The status an ICMP error message stands for.
int errorStatus(int type, int code) {
    using namespace ipstatus;
    switch (type) {
    case ICMP_DEST_UNREACH:
        switch (code) {
        case ICMP_NET_UNREACH:
        case ICMP_NET_UNKNOWN:
        case ICMP_NET_ANO:
        case ICMP_NET_UNR_TOS:
            return kDestNetUnreachable;
        case ICMP_PROT_UNREACH:
            return kDestProtocolUnreachable;
        case ICMP_PORT_UNREACH:
            return kDestPortUnreachable;
        case ICMP_FRAG_NEEDED:
            return kPacketTooBig;
        case ICMP_SR_FAILED:
            return kBadRoute;
        default:
            return kDestHostUnreachable;
        }
    case ICMP_TIME_EXCEEDED:
        return code == ICMP_EXC_FRAGTIME ? kTtlExpiredReassembly : kTtlExpiredTransit;
    case ICMP_PARAMETERPROB:
        return kParameterProblem;
    case ICMP_SOURCE_QUENCH:
        return kSourceQuench;
    default:
        return kGeneralFailure;
    }
}

int sendErrorStatus(int error) {
    switch (error) {
    case ENETUNREACH:
        return ipstatus::kDestNetUnreachable;
    case EHOSTUNREACH:
        return ipstatus::kDestHostUnreachable;
    default:
        return ipstatus::kGeneralFailure;
    }
}

struct Pending {
    in_addr_t address = 0;
    Clock::time_point sent;
    bool waiting = false;
};

class Batch {
public:
    Batch(const IcmpSocket& socket, QList<EchoReply>& replies)
        : socket_(socket), replies_(replies), id_(quint16(QRandomGenerator::global()->generate())),
          pending_(replies.size()) {}

    void send(int index, in_addr_t address, const QByteArray& payload, Clock::time_point deadline) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = address;
        const QByteArray packet = echoRequest(id_, seqOf(index), payload);
        for (;;) {
            const ssize_t n = ::sendto(socket_.fd(), packet.constData(), size_t(packet.size()), 0,
                                       reinterpret_cast<const sockaddr*>(&to), sizeof to);
            if (n >= 0) break;
            if (errno == EINTR) continue;
            if (errno == EAGAIN && waitWritable(deadline)) continue;
            replies_[index].Status = sendErrorStatus(errno);
            return;
        }
        pending_[index] = {address, Clock::now(), true};
        ++waiting_;
    }

    void collect(Clock::time_point deadline) {
        while (waiting_ > 0) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) break;
            pollfd p{socket_.fd(), POLLIN, 0};
            const int ready = ::poll(&p, 1, int(left));
            if (ready < 0 && errno != EINTR) break;
            if (ready <= 0) continue;
            if (p.revents & POLLERR) readErrors();
            if (p.revents & POLLIN) readReplies();
        }
        for (int i = 0; i < pending_.size(); ++i)
            if (pending_[i].waiting) replies_[i].Status = ipstatus::kRequestTimedOut;
    }

private:
    // Sequence numbers start at 1; the datagram socket puts its own identifier in.
    static quint16 seqOf(int index) { return quint16(index + 1); }

    bool waitWritable(Clock::time_point deadline) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{socket_.fd(), POLLOUT, 0};
        return ::poll(&p, 1, int(left)) > 0;
    }

    void settle(quint16 seq, in_addr_t from, int status, bool fromMustMatch) {
        const int index = int(seq) - 1;
        if (index < 0 || index >= pending_.size() || !pending_[index].waiting) return;
        if (fromMustMatch && pending_[index].address != from) return;
        pending_[index].waiting = false;
        --waiting_;
        EchoReply& reply = replies_[index];
        reply.Status = status;
        if (status == ipstatus::kSuccess)
            reply.RoundTripTime = quint32(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              Clock::now() - pending_[index].sent)
                                              .count());
    }

    void readReplies() {
        unsigned char buffer[1500];
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(socket_.fd(), buffer, sizeof buffer, 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n < 0) {
                if (errno == EINTR) continue;
                return;
            }
            const unsigned char* icmp = buffer;
            ssize_t length = n;
            if (socket_.raw()) { // the IP header comes first
                if (n < 20) continue;
                const int header = (buffer[0] & 0x0f) * 4;
                icmp += header;
                length -= header;
            }
            if (length < 8) continue;
            if (icmp[0] == ICMP_ECHOREPLY) {
                if (socket_.raw() && read16(icmp + 4) != id_) continue;
                settle(read16(icmp + 6), from.sin_addr.s_addr, ipstatus::kSuccess, true);
            } else if (socket_.raw() && icmp[0] != ICMP_ECHO && length >= 8 + 20 + 8) {
                // An error message quoting our request: its IP header, then 8 bytes of ICMP.
                const unsigned char* quoted = icmp + 8;
                const int header = (quoted[0] & 0x0f) * 4;
                if (length < 8 + header + 8 || quoted[9] != IPPROTO_ICMP) continue;
                const unsigned char* request = quoted + header;
                if (request[0] != ICMP_ECHO || read16(request + 4) != id_) continue;
                in_addr_t to = 0;
                std::memcpy(&to, quoted + 16, sizeof to);
                settle(read16(request + 6), to, errorStatus(icmp[0], icmp[1]), true);
            }
        }
    }

    // Datagram socket: ICMP errors about our requests, with the request they quote.
    void readErrors() {
        for (;;) {
            unsigned char data[576];
            unsigned char control[512];
            sockaddr_in to{};
            iovec io{data, sizeof data};
            msghdr message{};
            message.msg_name = &to;
            message.msg_namelen = sizeof to;
            message.msg_iov = &io;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t n = ::recvmsg(socket_.fd(), &message, MSG_ERRQUEUE);
            if (n < 0) {
                if (errno == EINTR) continue;
                return;
            }
            for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR) continue;
                sock_extended_err error{};
                std::memcpy(&error, CMSG_DATA(c), sizeof error);
                const int status = error.ee_origin == SO_EE_ORIGIN_ICMP
                                       ? errorStatus(error.ee_type, error.ee_code)
                                       : sendErrorStatus(int(error.ee_errno));
                if (n >= 8) settle(read16(data + 6), to.sin_addr.s_addr, status, true);
            }
        }
    }

    const IcmpSocket& socket_;
    QList<EchoReply>& replies_;
    const quint16 id_;
    QList<Pending> pending_;
    int waiting_ = 0;
};

} // namespace

bool icmpAvailable() {
    return IcmpSocket().ok();
}

QList<EchoReply> echoAll(const QStringList& addresses, const QByteArray& payload, int timeoutMs) {
    QList<EchoReply> replies(addresses.size());
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    IcmpSocket socket;
    if (!socket.ok()) return replies;
    Batch batch(socket, replies);
    for (int i = 0; i < addresses.size(); ++i) {
        const QByteArray text = addresses[i].toLatin1();
        const in_addr_t address = ::inet_addr(text.constData());
        if (address == INADDR_NONE || address == 0 || text.contains('\0')) continue;
        if (i >= 0xffff) break; // one sequence number each
        batch.send(i, address, payload, deadline);
    }
    batch.collect(deadline);
    return replies;
}
