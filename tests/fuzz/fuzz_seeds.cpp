// Writes the seed corpora of the fuzz targets, made with the program's own
// builders, into <folder>/<target>/. Among them the inputs of past faults: a very
// long chat line, a very long player name, many messages in one read, and an
// unfinished message arriving in small reads.
#include "common/protocol.h"
#include "common/receivebuffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace wire;

namespace {

QString folder;

void seed(const char* target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(folder + u'/' + QLatin1String(target));
    QFile file(folder + u'/' + QLatin1String(target) + u'/' + name);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray word(qsizetype n) {
    return QByteArray(1, char(n & 0xFF)) + char((n >> 8) & 0xFF);
}

// A splitter input: flags, then the reads.
QByteArray reads(bool host, bool settle, const QByteArrayList& list) {
    QByteArray out(1, char((host ? 1 : 0) | (settle ? 2 : 0)));
    for (const QByteArray& r : list)
        out += word(r.size()) + r;
    return out;
}

// bytes cut into reads of n bytes.
QByteArrayList cut(const QByteArray& bytes, qsizetype n) {
    QByteArrayList out;
    for (qsizetype at = 0; at < bytes.size(); at += n)
        out << bytes.mid(at, n);
    return out;
}

QByteArray fields(const QByteArrayList& list) {
    return list.join('\0');
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    folder = QString::fromLocal8Bit(argv[1]);

    const QByteArray keuz = build(ChoicesMessage{{"A – b", "C’s", "d…", "€"}, 3, 2});
    const QByteArray star = build(StartMessage{"10", 21});
    const QByteArray chat = buildHostChat("<anna> it's a \\ test");
    RoundResultTable rows;
    rows[0] = {1, 5, 5, 20, "host", 2, 21};
    rows[1] = {2, 3, 0, 7, "anna_b", 2, 3};
    const QByteArray antw = buildRoundResults(vxseantw, rows);
    const QByteArray song = QByteArray("ID3\x03") + QByteArray(300, 'x') + "vxseclos|x";

    // Splitter: client runs, cut in several ways.
    const QByteArray client = star + antw + keuz + bareMessage(vxseopen) + song +
                              bareMessage(vxseclos) + chat + buildStop();
    seed("fuzz_splitter", "client-whole", reads(false, true, {client}));
    seed("fuzz_splitter", "client-7", reads(false, true, cut(client, 7)));
    seed("fuzz_splitter", "client-corr", reads(false, false, {"vxsecorr|vxsecorreinde" + chat}));
    // Many messages in one read, and a short song with its closing frame after them.
    QByteArray many;
    for (int i = 0; i < 10; ++i)
        many += buildHostChat(QString::number(i));
    seed("fuzz_splitter", "client-ten-chats", reads(false, false, {many}));
    seed("fuzz_splitter", "client-eight-and-song",
         reads(false, true,
               {star,
                many.left(many.size() / 10 * 8) + bareMessage(vxseopen) + "short song" +
                    bareMessage(vxseclos),
                chat}));
    QByteArray hostRun = build(UserMessage{"anna", 3}) + build(ClientAnswerMessage{2, 7}) +
                         buildText(vxclchat, "<anna> hi") + buildText(vxclregi, "bob") +
                         build(TriviaAnswerMessage{"paris", 4.26}, u',');
    seed("fuzz_splitter", "host-whole", reads(true, false, {hostRun}));
    seed("fuzz_splitter", "host-3", reads(true, false, cut(hostRun, 3)));
    QByteArray eight;
    for (int i = 0; i < 8; ++i)
        eight += buildText(vxclchat, "<anna> " + QString::number(i));
    seed("fuzz_splitter", "host-eight-chats", reads(true, false, {eight}));
    seed("fuzz_splitter", "host-junk", reads(true, false, {"vxclxxxx|junk|vxclxxxxeinde" + eight}));
    // A long line without blanks, and an unfinished one in 32-byte reads.
    const QByteArray longLine = buildText(vxclchat, QString(20000, u'w'));
    seed("fuzz_splitter", "host-long-line", reads(true, false, cut(longLine, 4096)));
    seed("fuzz_splitter", "host-unfinished-32",
         reads(true, false, cut("vxclchat|" + QByteArray(16000, 'u'), 32)));
    const QByteArray longName = build(UserMessage{QString(32700, u'n'), 1});
    seed("fuzz_splitter", "host-long-name", reads(true, false, cut(longName, 16384)));

    // Protocol: raw parser input, then one seed per builder.
    const QByteArrayList raw = {
        star,
        keuz,
        antw,
        chat,
        buildStop(),
        longName,
        build(RegistrationMessage{"anna", 1, 3}),
        build(TriviaQuestionMessage{"12", "q?", 2, "**", "bob", 3, "", "nobody", 4.5, "*^"}, u',')};
    for (int i = 0; i < raw.size(); ++i)
        seed("fuzz_protocol", QStringLiteral("raw-%1").arg(i), QByteArray("\0\0", 2) + raw[i]);
    for (char c = 1; c < 12; ++c)
        seed("fuzz_protocol", QStringLiteral("build-%1").arg(int(c)),
             QByteArray(1, char(c)) + QByteArray(1, c) +
                 fields({"anna’s \x80 vxse|x_y", "\x0a\x00", "it's \\ 'q'", "C:\\x", "4,5"}));
    seed("fuzz_protocol", "long-name", QByteArray(1, 0) + char(2) + QByteArray(32700, 'n'));
    seed("fuzz_protocol", "long-line",
         QByteArray(1, 0) + char(7) + char(3) + QByteArray(20000, 'w'));

    // Settings: section, key, value, then a file.
    const QByteArray ini = "[controls]\r\nkey1=a\r\nkey2=b\r\n\r\n[user]\rname=x\r\n[joystick]\r\n";
    seed("fuzz_settings", "controls", fields({"controls", "key3", "c"}) + '\0' + ini);
    seed("fuzz_settings", "lone-cr", fields({"user", "land", "21"}) + '\0' + ini);
    seed("fuzz_settings", "new", fields({"Net", "port", "6060"}) + '\0' + "");

    // Playlists.
    seed("fuzz_m3u", "extended",
         "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\nsongs\\a.mp3\r\n#EXTINF:-1,B\r\n/music/b.mp3\r\n"
         "\\\\server\\share\\c.mp3\r\nC:\\d.mp3\r\n");
    seed("fuzz_m3u", "lf", "#EXTM3U\n#EXTINF:1,x\na.mp3\nb.mp3\nc.mp3\n");
    seed("fuzz_m3u", "utf8", "#EXTM3U\r\n#EXTINF:1,Caf\xc3\xa9\r\nx.mp3\r\ny\r\nz.mp3\r\n");

    // Song files with and without a tag.
    QByteArray tag = "TAG" + QByteArray("Title").leftJustified(30, ' ') +
                     QByteArray("Artist").leftJustified(30, '\0') +
                     QByteArray("Album").leftJustified(30, ' ') + "1999" +
                     QByteArray("comment").leftJustified(30, ' ') + char(12);
    seed("fuzz_id3v1", "tagged", QByteArray("ID3\x03") + QByteArray(200, 'x') + tag);
    seed("fuzz_id3v1", "untagged", QByteArray(300, 'x'));
    seed("fuzz_id3v1", "exact", tag);

    // Values for statements: a byte that picks the statement, then the values.
    const char line[] = "\0anna\0it's a \\ '?' \xf0\x9f\x98\x80";
    seed("fuzz_sqlvalues", "chat", QByteArray(line, sizeof line - 1));
    const char marks[] = "\2x\0y\0z";
    seed("fuzz_sqlvalues", "quoted-marks", QByteArray(marks, sizeof marks - 1));
    return 0;
}
