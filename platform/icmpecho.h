#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// ICMP echo ("ping") over IPv4, in the IP status values the lobby shows.
namespace ipstatus {
constexpr int kSuccess = 0;
constexpr int kDestNetUnreachable = 11002;
constexpr int kDestHostUnreachable = 11003;
constexpr int kDestProtocolUnreachable = 11004;
constexpr int kDestPortUnreachable = 11005;
constexpr int kPacketTooBig = 11009;
constexpr int kRequestTimedOut = 11010;
constexpr int kBadRoute = 11012;
constexpr int kTtlExpiredTransit = 11013;
constexpr int kTtlExpiredReassembly = 11014;
constexpr int kParameterProblem = 11015;
constexpr int kSourceQuench = 11016;
constexpr int kGeneralFailure = 11050;
constexpr int kNotSent = -1;
} // namespace ipstatus

struct EchoReply {
    int Status = ipstatus::kNotSent;
    quint32 RoundTripTime = 0; // milliseconds; 0 unless Status is kSuccess
};

// True when this process may open an ICMP socket (datagram or raw).
bool icmpAvailable();

// Sends one echo request carrying payload to every address at once, then waits for
// the answers, at most timeoutMs in all; entry i answers addresses[i]. An address
// that is not dotted IPv4 text (as inet_addr reads it), 0.0.0.0 or 255.255.255.255
// gets kNotSent and nothing goes to it; without an ICMP socket every entry does.
// Uses the unprivileged ICMP datagram socket, or a raw socket where only that is
// allowed. The wait blocks in poll(); events do not run meanwhile.
QList<EchoReply> echoAll(const QStringList& addresses, const QByteArray& payload, int timeoutMs);
