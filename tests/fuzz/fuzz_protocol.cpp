// Every message parser on raw bytes, and every builder round-tripped through the
// receive splitter and its parser.
// Input: one byte choosing the case, then the bytes (raw) or NUL-separated fields.
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "fuzzinput.h"

using namespace wire;

namespace {

// Text as a field from the fuzzer: Windows-1252 bytes.
QString text(FuzzInput& in) {
    return fromWireText(in.field());
}

qint16 num(FuzzInput& in) {
    return qint16(in.word());
}

// The one message the splitter of the receiving side makes of bytes.
QByteArray throughSplitter(const QByteArray& bytes) {
    const bool host = bytes.startsWith("vxcl");
    ReceiveBuffer buffer(host ? ReceiveBuffer::Side::Host : ReceiveBuffer::Side::Client);
    QByteArrayList got;
    int warnings = 0;
    QObject::connect(&buffer, &ReceiveBuffer::messageReceived,
                     [&](const QByteArray& m) { got << m; });
    QObject::connect(&buffer, &ReceiveBuffer::warningLine, [&](const QString&) { ++warnings; });
    buffer.append(bytes);
    FUZZ_CHECK(warnings == 0 && buffer.pendingBytes() == 0);
    FUZZ_CHECK(got.size() == 1);
    FUZZ_CHECK(got.front() == bytes);
    return got.front();
}

// Built, split and parsed, the message is built again byte for byte.
template <typename Message, typename Build, typename Parse>
void roundTrip(const Message& m, Build build, Parse parse) {
    const QByteArray bytes = build(m);
    FUZZ_CHECK(bytes.size() <= kMaxMessage);
    const auto back = parse(throughSplitter(bytes));
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(build(*back) == bytes);
}

void parseAll(const QByteArray& raw) {
    parseStart(raw);
    parseUser(raw);
    parseRegistration(raw);
    parseChoices(raw);
    parseRoundResults(raw);
    parseFinalScores(raw);
    parseText(raw);
    parseTriviaQuestion(raw);
    parseStop(raw);
    parseClientAnswer(raw);
    parseTriviaAnswer(raw);
    splitMessage(raw);
    unescapeChat(fromWireText(raw));
    const QByteArray again = toWireText(fromWireText(raw));
    FUZZ_CHECK(again.size() == raw.size());
    for (qsizetype k = 0; k < raw.size(); ++k) {
        const auto b = static_cast<unsigned char>(raw[k]);
        const bool unused = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        FUZZ_CHECK(again[k] == (unused ? '?' : raw[k]));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QChar separator = in.byte() & 1 ? u',' : u'.';
    switch (in.byte() % 12) {
    case 0:
        parseAll(in.rest());
        break;
    case 1: {
        const qint16 tijd = num(in);
        roundTrip(
            StartMessage{QString::number(tijd), num(in)}, [](auto& m) { return build(m); },
            parseStart);
        break;
    }
    case 2: {
        const QString naam = text(in);
        roundTrip(
            UserMessage{naam, num(in)}, [](auto& m) { return build(m); }, parseUser);
        break;
    }
    case 3: {
        const QString naam = text(in);
        const qint16 nr = qint16(1 + in.byte() % 4);
        roundTrip(
            RegistrationMessage{naam, nr, num(in)}, [](auto& m) { return build(m); },
            parseRegistration);
        break;
    }
    case 4: {
        ChoicesMessage m;
        for (QString& k : m.keuzes)
            k = text(in);
        m.vraagnummer = num(in);
        m.slot = qint16(1 + in.byte() % 4);
        roundTrip(
            m, [](auto& x) { return build(x); }, parseChoices);
        break;
    }
    case 5:
    case 6: {
        RoundResultTable rows;
        for (RoundResultRow& r : rows)
            r = {num(in), num(in), num(in), num(in), text(in), num(in), num(in)};
        const char* tag = in.byte() & 1 ? vxseant2 : vxseantw;
        roundTrip(
            rows, [tag](auto& t) { return buildRoundResults(tag, t); }, parseRoundResults);
        FinalScoreTable finals;
        for (FinalScoreRow& r : finals)
            r = {num(in), num(in), num(in), num(in), text(in), num(in)};
        roundTrip(
            finals, [](auto& t) { return buildFinalScores(t); }, parseFinalScores);
        break;
    }
    case 7: {
        static const char* const tags[] = {vxsecha2, vxsecha3, vxsecha4, vxclchat, vxclregi};
        const char* tag = tags[in.byte() % 5];
        roundTrip(
            text(in), [tag](auto& t) { return buildText(tag, t); }, parseText);
        break;
    }
    case 8: {
        // The host's chat: the client shows what the host showed, made safe.
        const QString line = text(in);
        const auto back = parseText(throughSplitter(buildHostChat(line)));
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(buildHostChat(unescapeChat(*back)) == buildHostChat(line));
        break;
    }
    case 9: {
        TriviaQuestionMessage m;
        m.triviavraagnr = QString::number(in.word());
        m.triviavraag = text(in);
        m.aantaltriviaantwoorden = num(in);
        m.triviamasker1 = text(in);
        m.triviaposter = text(in);
        m.schermnummer = num(in);
        m.triviafastest = text(in);
        m.triviafastesttime = num(in) / 100.0;
        m.triviamasker2 = text(in);
        roundTrip(
            m, [separator](auto& x) { return build(x, separator); }, parseTriviaQuestion);
        break;
    }
    case 10: {
        roundTrip(
            ClientAnswerMessage{num(in), num(in)}, [](auto& m) { return build(m); },
            parseClientAnswer);
        FUZZ_CHECK(parseStop(throughSplitter(buildStop())));
        break;
    }
    case 11: {
        const QString antwoord = text(in);
        roundTrip(
            TriviaAnswerMessage{antwoord, num(in) / 100.0},
            [separator](auto& m) { return build(m, separator); }, parseTriviaAnswer);
        break;
    }
    }
    return 0;
}
