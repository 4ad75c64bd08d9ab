// The receive rules: one datagram's bytes, its length and its sender in; the verdict, the number of
// members that name a value and the assignments out. The one table of cases (receive-rules.json),
// which the kit libraries' tests read as well.

#include "StateDatagram.h"

#include <QDir>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

// The cases are data (receive-rules.json), so that every kit library is tested against the same table.
void ReceiveRulesTest::datagram_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qulonglong>("length"); // the datagram's full length, 0: the bytes' length
    QTest::addColumn<quint32>("sender");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("assignments");

    QFile file(QStringLiteral(ZUV_RECEIVE_RULES));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonArray cases = QJsonDocument::fromJson(file.readAll()).object().value("cases").toArray();
    QVERIFY(cases.size() >= 60);
    for (const QJsonValue& value : cases) {
        const QJsonObject entry = value.toObject();
        QByteArray bytes = entry.value("text").toString().toLatin1();
        const int padTo = entry.value("pad_to").toInt();
        if (bytes.size() < padTo)
            bytes += QByteArray(padTo - bytes.size(), entry.value("pad").toString(" ").toLatin1().at(0));
        QStringList assignments;
        for (const QJsonValue& assignment : entry.value("assignments").toArray())
            assignments << assignment.toString();
        QTest::newRow(qPrintable(entry.value("name").toString()))
            << bytes << qulonglong(entry.value("length").toInt())
            << QHostAddress(entry.value("sender").toString("127.0.0.1")).toIPv4Address()
            << entry.value("verdict").toString() << entry.value("count").toInt() << assignments;
    }
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
