// The receive rules: one datagram's bytes, its length and its sender in; the verdict, the number of
// members that name a value and the assignments out. The one place where the rules are tested.

#include "StateDatagram.h"

#include <QDir>
#include <QtTest>

namespace {

QString verdictName(StateDatagram::Received::Verdict verdict)
{
    using Verdict = StateDatagram::Received::Verdict;
    switch (verdict) {
    case Verdict::Document:
        return "document";
    case Verdict::NotADocument:
        return "not a document";
    case Verdict::TooLong:
        return "too long";
    case Verdict::NotLoopback:
        return "not loopback";
    }
    return {};
}

QStringList assignmentsOf(const StateDatagram::Received& received)
{
    QStringList list;
    for (const StateValues::Assignment& assignment : received.assignments.list)
        list << QString("%1=%2").arg(StateValues::table[assignment.index].name).arg(assignment.value);
    return list;
}

// A member nested `depth` arrays deep.
QByteArray nested(int depth)
{
    return "{\"a\":" + QByteArray("[").repeated(depth) + QByteArray("]").repeated(depth) + "}";
}

constexpr quint32 loopback = 0x7f000001;

} // namespace

class ReceiveRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void datagram_data();
    void datagram();
    void everySeedOfTheFuzzCorpus_data();
    void everySeedOfTheFuzzCorpus();
};

void ReceiveRulesTest::datagram_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qulonglong>("length"); // the datagram's full length, 0: the bytes' length
    QTest::addColumn<quint32>("sender");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("assignments");

    const QByteArray valid = R"({"cockpitVelocity":42})";
    const QStringList velocity{"cockpitVelocity=42"};
    const auto row = [](const char* name, const QByteArray& bytes, const QString& verdict, int count,
                        const QStringList& assignments) {
        QTest::newRow(name) << bytes << qulonglong(0) << loopback << verdict << count << assignments;
    };
    // A document of `members`; `count` of them name a value (by default as many as assign one).
    const auto member = [&row](const char* name, const QByteArray& members, const QStringList& assignments,
                               int count = -1) {
        row(name, "{" + members + "}", "document", count < 0 ? int(assignments.size()) : count, assignments);
    };

    // Framing and senders.
    row("short document", valid, "document", 1, velocity);
    row("framed like the program's own", valid + QByteArray(4096 - valid.size(), '\0'), "document", 1,
        velocity);
    row("4096 bytes without a NUL", valid + QByteArray(4096 - valid.size(), ' '), "document", 1, velocity);
    row("text ends at the first NUL", valid + QByteArray("\0{\"cockpitBrake\":2}", 19), "document", 1,
        velocity);
    row("longer than 4096 bytes", valid + QByteArray(4097 - valid.size(), ' '), "too long", 0, {});
    row("65507 bytes", valid + QByteArray(65507 - valid.size(), ' '), "too long", 0, {});
    QTest::newRow("cut to 4096 bytes by the socket")
        << valid + QByteArray(4096 - valid.size(), '\0') << qulonglong(5000) << loopback << "too long" << 0
        << QStringList();
    QTest::newRow("from another machine")
        << valid << qulonglong(0) << quint32(0xc0a80105) << "not loopback" << 0 << QStringList();
    QTest::newRow("from 127.0.0.2") << valid << qulonglong(0) << quint32(0x7f000002) << "document" << 1
                                    << velocity;

    // Texts that are no JSON object apply nothing.
    row("empty", "", "not a document", 0, {});
    row("all NUL", QByteArray(4096, '\0'), "not a document", 0, {});
    row("not JSON", "cockpitVelocity=42", "not a document", 0, {});
    row("top-level array", "[" + valid + "]", "not a document", 0, {});
    row("top-level number", "42", "not a document", 0, {});
    row("top-level string", "\"cockpitVelocity\"", "not a document", 0, {});
    row("top-level null", "null", "not a document", 0, {});
    row("nesting 1500 deep", nested(1500), "not a document", 0, {});
    row("truncated text", valid.left(valid.size() - 1), "not a document", 0, {});
    row("trailing garbage", valid + "x", "not a document", 0, {});
    row("two documents in one datagram", valid + valid, "not a document", 0, {});
    row("invalid UTF-8 in a key", "{\"cockpitVelocity\":42,\"\xff\xfe\":1}", "not a document", 0, {});
    row("NaN literal", R"({"cockpitVelocity":NaN})", "not a document", 0, {});
    row("leading zero", R"({"cockpitVelocity":042})", "not a document", 0, {});
    row("single quotes", "{'cockpitVelocity':42}", "not a document", 0, {});
    row("comment", R"({"cockpitVelocity":42 /* km/h */})", "not a document", 0, {});
    row("a lone minus sign", R"({"cockpitVelocity":-})", "not a document", 0, {});
    row("byte order mark", "\xef\xbb\xbf" + valid, "document", 1, velocity);
    row("whitespace around", " \r\n\t" + valid + "\n", "document", 1, velocity);

    // Keys.
    member("nesting 500 deep beside a value", "\"cockpitBrake\":2,\"x\":" + nested(500), {"cockpitBrake=2"});
    row("duplicate keys: the last counts", R"({"cockpitBrake":1,"cockpitBrake":3})", "document", 1,
        {"cockpitBrake=3"});
    row("wrong-case keys", R"({"CockpitVelocity":42,"lightdaylight":true})", "document", 0, {});
    row("unknown keys", R"({"speed":42,"objectName":"x","":1})", "document", 0, {});
    row("escaped key", R"({"cockpit\u0056elocity":42})", "document", 1, velocity);
    row("member only nested", R"({"x":{"cockpitVelocity":42}})", "document", 0, {});
    member("applied in table order", R"("windshieldWiperA":true,"lightDaylight":true,"cockpitBrake":3)",
           {"cockpitBrake=3", "lightDaylight=1", "windshieldWiperA=1"});

    // Conversions to an integer value.
    member("2.6 rounds up", R"("cockpitVelocity":2.6)", {"cockpitVelocity=3"});
    member("2.4 rounds down", R"("cockpitVelocity":2.4)", {"cockpitVelocity=2"});
    member("-2.6", R"("cockpitSteeringAngleDeg":-2.6)", {"cockpitSteeringAngleDeg=-3"});
    member("halves round up", R"("cockpitVelocity":2.5,"cockpitBrake":-2.5)",
           {"cockpitBrake=-2", "cockpitVelocity=3"});
    member("exponent", R"("cockpitVelocity":4.2e1)", velocity);
    member("true and false", R"("cockpitIgnition":true,"cockpitBrake":false)",
           {"cockpitIgnition=1", "cockpitBrake=0"});
    member("largest int", R"("cockpitTemperature":2147483647)", {"cockpitTemperature=2147483647"});
    member("smallest int", R"("cockpitTemperature":-2147483648)", {"cockpitTemperature=-2147483648"});
    member("tiny number", R"("cockpitVelocity":1e-320)", {"cockpitVelocity=0"});
    for (const char* value :
         {"null", "\"7\"", "[7]", "{\"v\":7}", "2147483648", "-2147483649", "4294967338", "1e300"})
        member(qPrintable(QString("int ignores %1").arg(value)), QByteArray("\"cockpitVelocity\":") + value,
               {}, 1);

    // Conversions to a truth value.
    member("1 is true", R"("lightDaylight":1)", {"lightDaylight=1"});
    member("0 is false", R"("lightDaylight":0)", {"lightDaylight=0"});
    member("negative zero is false", R"("lightDaylight":-0.0)", {"lightDaylight=0"});
    member("a fraction is true", R"("lightDaylight":0.25)", {"lightDaylight=1"});
    member("a huge number is true", R"("lightDaylight":1e308)", {"lightDaylight=1"});
    member("a tiny number is true", R"("lightDaylight":1e-320)", {"lightDaylight=1"});
    for (const char* value : {"null", "\"true\"", "[true]", "{}"})
        member(qPrintable(QString("bool ignores %1").arg(value)), QByteArray("\"windshieldWiperA\":") + value,
               {}, 1);

    // Numbers beyond a double's range cost nothing but themselves.
    member("1e400", R"("cockpitVelocity":1e400,"lightDaylight":1e400,"cockpitBrake":2)",
           {"cockpitBrake=2", "lightDaylight=1"}, 3);
    member("-1E+400", R"("lightDaylight":-1E+400,"cockpitBrake":2)", {"cockpitBrake=2", "lightDaylight=1"});
    member("1e-400 is 0", R"("lightDaylight":1e-400,"cockpitVelocity":-1e-400)",
           {"cockpitVelocity=0", "lightDaylight=0"});
    member("1e400 beside a key holding one", R"("k\"1e400":1,"lightDaylight":1e400)", {"lightDaylight=1"});
    row("1e400 in a text that is no document", R"({"lightDaylight":1e400,})", "not a document", 0, {});
}

void ReceiveRulesTest::datagram()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qulonglong, length);
    QFETCH(quint32, sender);
    QFETCH(QString, verdict);
    QFETCH(int, count);
    QFETCH(QStringList, assignments);

    const std::size_t stored = std::min<std::size_t>(std::size_t(bytes.size()), StateDatagram::size);
    const auto received =
        StateDatagram::receive(bytes.constData(), stored, length ? length : bytes.size(), sender);
    QCOMPARE(verdictName(received.verdict), verdict);
    QCOMPARE(received.assignments.count, count);
    QCOMPARE(assignmentsOf(received), assignments);
    QCOMPARE(received.document.isObject(), verdict == "document");
    QCOMPARE(received.reason().empty(), verdict == "document");
}

void ReceiveRulesTest::everySeedOfTheFuzzCorpus_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(ZUV_FUZZ_CORPUS));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 30);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << corpus.filePath(file);
}

void ReceiveRulesTest::everySeedOfTheFuzzCorpus()
{
    // y_ seeds are documents, n_ seeds are not (they apply nothing), i_ seeds may be either.
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto received = StateDatagram::receive(file.readAll());
    const QString name = QFileInfo(path).fileName();
    if (name.startsWith("y_"))
        QCOMPARE(verdictName(received.verdict), QString("document"));
    else if (name.startsWith("n_"))
        QVERIFY(received.verdict != StateDatagram::Received::Verdict::Document &&
                received.assignments.count == 0);
}

QTEST_GUILESS_MAIN(ReceiveRulesTest)
#include "tst_receiverules.moc"
