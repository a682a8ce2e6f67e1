// Throughput of the receive splitter (ReceiveBuffer) for the ways bytes arrive:
// an excerpt in 4 KiB reads, many small messages in one read, and one message
// that comes one byte per read (its time per byte must not grow with its size).
#include "bench/machine.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kSeconds = 20;
constexpr qsizetype kRead = 4096;

// Song bytes without "vx", so that nothing in them looks like a tag.
QByteArray songBytes(qsizetype size) {
    std::mt19937 random(13);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes) {
        c = char(random());
        if (c == 'v') c = 'w';
    }
    return bytes;
}

// Counts what the splitter hands over.
struct Counter {
    qint64 messages = 0;
    qint64 songBytes = 0;
    void attach(ReceiveBuffer& buffer) {
        QObject::connect(&buffer, &ReceiveBuffer::messageReceived,
                         [this](const QByteArray&) { ++messages; });
        QObject::connect(&buffer, &ReceiveBuffer::songData,
                         [this](const QByteArray& b) { songBytes += b.size(); });
    }
};

void excerptIn4KiBReads(benchmark::State& state) {
    const QByteArray song = songBytes(wire::excerptSize(kSeconds));
    const QByteArray open = wire::bareMessage(wire::vxseopen);
    const QByteArray close = wire::bareMessage(wire::vxseclos);
    ReceiveBuffer buffer(ReceiveBuffer::Side::Client);
    Counter counter;
    counter.attach(buffer);
    buffer.append(wire::build(wire::StartMessage{QString::number(kSeconds), 5}));
    for (auto _ : state) {
        buffer.append(open);
        for (qsizetype at = 0; at < song.size(); at += kRead)
            buffer.append(song.mid(at, kRead));
        buffer.append(close);
    }
    if (counter.songBytes != qint64(state.iterations()) * song.size())
        state.SkipWithError("the excerpt did not arrive whole");
    state.SetBytesProcessed(qint64(state.iterations()) * song.size());
}

void thousandMessagesInOneRead(benchmark::State& state) {
    QByteArray read;
    for (int n = 0; n < 1000; ++n)
        read += wire::frameMessage(wire::vxclantw, {QByteArray::number(n % 4 + 1), "12"});
    ReceiveBuffer buffer(ReceiveBuffer::Side::Host);
    Counter counter;
    counter.attach(buffer);
    QObject::connect(&buffer, &ReceiveBuffer::warningLine, [](const QString&) {});
    for (auto _ : state)
        buffer.append(read);
    state.SetBytesProcessed(qint64(state.iterations()) * read.size());
    // How many of the 1000 the splitter's pass rule lets through per read.
    state.counters["handed_over_per_read"] =
        benchmark::Counter(double(counter.messages) / double(state.iterations()));
}

void messageOneBytePerRead(benchmark::State& state) {
    const QByteArray message =
        wire::buildHostChat(QString(qsizetype(state.range(0)), QLatin1Char('a')));
    ReceiveBuffer buffer(ReceiveBuffer::Side::Client);
    Counter counter;
    counter.attach(buffer);
    for (auto _ : state) {
        for (char c : message)
            buffer.append(QByteArray(1, c));
    }
    if (counter.messages != state.iterations()) state.SkipWithError("the message was lost");
    state.SetBytesProcessed(qint64(state.iterations()) * message.size());
}

} // namespace

BENCHMARK(excerptIn4KiBReads)->Unit(benchmark::kMillisecond);
BENCHMARK(thousandMessagesInOneRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(messageOneBytePerRead)->Arg(64)->Arg(1024)->Arg(16384)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("machine", machineDescription());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
