// The sandbox's pieces without a box: the limits an instructor sets, the private copy of a
// submission (no link followed, bounded), and the merge of shards' grades.

#include "check/Grading.h"
#include "check/sandbox/Limits.h"
#include "check/sandbox/Sandbox.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace Check;

class TestPeerSandbox : public QObject
{
    Q_OBJECT

private slots:
    void limits_data();
    void limits();
    void copyFollowsNoLinkAndIsBounded();
    void mergeRefuses_data();
    void mergeRefuses();
};

void TestPeerSandbox::limits_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QString>("error"); // empty: taken
    QTest::addColumn<QString>("described");
    QTest::newRow("memory") << "memory=512M"
                            << ""
                            << "memory 512 MiB";
    QTest::newRow("memory in G") << "memory=2G"
                                 << ""
                                 << "memory 2 GiB";
    QTest::newRow("processes") << "processes=128"
                               << ""
                               << "128 processes";
    QTest::newRow("prepare time") << "prepare-time=30s"
                                  << ""
                                  << "prepare 30 s";
    QTest::newRow("no size") << "memory=lots"
                             << "--limit memory takes a size such as 256M, not 'lots'"
                             << "";
    QTest::newRow("zero") << "processes=0"
                          << "--limit processes takes"
                          << "";
    QTest::newRow("too few files") << "open-files=8"
                                   << "a number of 16 or more"
                                   << "";
    QTest::newRow("unknown") << "swap=1G"
                             << "--limit knows memory, processes"
                             << "";
}

void TestPeerSandbox::limits()
{
    QFETCH(QString, assignment);
    QFETCH(QString, error);
    QFETCH(QString, described);
    Limits limits;
    const QString got = limits.set(assignment);
    QVERIFY2(error.isEmpty() ? got.isEmpty() : got.contains(error), qPrintable(got));
    QVERIFY2(limits.describe().contains(error.isEmpty() ? described : "memory 256 MiB, 64 processes"),
             qPrintable(limits.describe()));
}

void TestPeerSandbox::copyFollowsNoLinkAndIsBounded()
{
    QTemporaryDir from;
    QTemporaryDir secret;
    QTemporaryDir to;
    QDir(from.path()).mkpath("lib");
    const auto write = [](const QString& path, const QByteArray& text) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write(from.filePath("unit.py"), "print(1)\n");
    write(from.filePath("lib/helper.py"), "x = 2\n");
    write(secret.filePath("answers.txt"), "the instructor's\n");
    QFile::link(secret.filePath("answers.txt"), from.filePath("answers"));
    QFile::link(secret.path(), from.filePath("elsewhere"));
    QVERIFY(::mkfifo(QFile::encodeName(from.filePath("pipe")).constData(), 0600) == 0);

    const Sandbox::Copy copy = Sandbox::copyTree(from.path(), to.path(), 1 << 20);
    QVERIFY2(copy.error.isEmpty(), qPrintable(copy.error));
    // Links stay links (resolved in the box, where the instructor's files are not); the pipe is
    // no part of a submission.
    QCOMPARE(QFileInfo(to.filePath("answers")).symLinkTarget(), secret.filePath("answers.txt"));
    QVERIFY(QFileInfo(to.filePath("elsewhere")).isSymLink());
    QVERIFY(!QFileInfo::exists(to.filePath("pipe")));
    QStringList listed;
    for (const QJsonValue& file : copy.files)
        listed << file.toObject().value("path").toString() + (file.toObject().contains("link") ? "@" : "");
    QCOMPARE(listed, QStringList({"answers@", "elsewhere@", "lib/helper.py", "unit.py"}));
    QCOMPARE(copy.files.at(3).toObject().value("sha256").toString(),
             QString(QCryptographicHash::hash("print(1)\n", QCryptographicHash::Sha256).toHex()));

    QTemporaryDir small;
    QVERIFY(Sandbox::copyTree(from.path(), small.path(), 10).error.contains("more than 10 B"));
}

void TestPeerSandbox::mergeRefuses_data()
{
    QTest::addColumn<QStringList>("manifests"); // shard, given, graded, version, scenario hash
    QTest::addColumn<QString>("error");
    const auto manifest = [](const char* shard, const char* given, const char* graded,
                             const char* version = "1.0", const char* hash = "ab") {
        return QStringList{shard, given, graded, version, hash}.join(';');
    };
    QTest::newRow("whole") << QStringList{manifest("1/2", "a b c", "a c"), manifest("2/2", "a b c", "b")}
                           << "";
    QTest::newRow("missing shard") << QStringList{manifest("1/3", "a b c", "a"),
                                                  manifest("3/3", "a b c", "c")}
                                   << "shard 2/3 is missing";
    QTest::newRow("doubled shard") << QStringList{manifest("1/2", "a b", "a"), manifest("1/2", "a b", "a")}
                                   << "are both shard 1/2";
    QTest::newRow("other count") << QStringList{manifest("1/2", "a b", "a"), manifest("2/3", "a b", "b")}
                                 << "is shard 2/3";
    QTest::newRow("other version") << QStringList{manifest("1/2", "a b", "a"),
                                                  manifest("2/2", "a b", "b", "0.9")}
                                   << "was graded by zuv-peer 0.9";
    QTest::newRow("other scenarios") << QStringList{manifest("1/2", "a b", "a"),
                                                    manifest("2/2", "a b", "b", "1.0", "cd")}
                                     << "other scenarios";
    QTest::newRow("other class") << QStringList{manifest("1/2", "a b", "a"), manifest("2/2", "a b d", "b")}
                                 << "other submissions";
    QTest::newRow("submission graded twice")
        << QStringList{manifest("1/2", "a b", "a b"), manifest("2/2", "a b", "b")} << "b was graded twice";
    QTest::newRow("submission graded by none")
        << QStringList{manifest("1/2", "a b", "a"), manifest("2/2", "a b", "")} << "b was graded by no shard";
}

void TestPeerSandbox::mergeRefuses()
{
    QFETCH(QStringList, manifests);
    QFETCH(QString, error);
    QTemporaryDir directory;
    QStringList folders;
    for (const QString& text : manifests) {
        const QStringList fields = text.split(';');
        Grading::Manifest manifest;
        QVERIFY(Grading::parseShard(fields[0], manifest.shard, manifest.of));
        manifest.given = fields[1].split(' ', Qt::SkipEmptyParts);
        manifest.graded = fields[2].split(' ', Qt::SkipEmptyParts);
        manifest.version = fields[3];
        manifest.scenarios = {{"Lights", "lights.yaml", fields[4], 3}};
        folders << directory.filePath(QString::number(folders.size()));
        QDir().mkpath(folders.last());
        QFile file(folders.last() + "/manifest.json");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(manifest.toJson()).toJson());
    }
    QString got;
    const QString csv = Grading::merge(folders, got);
    QVERIFY2(error.isEmpty() ? got.isEmpty() : got.contains(error), qPrintable(got));
    if (error.isEmpty())
        QCOMPARE(csv, QString("submission,Lights,total,max\na,0,0,3\nb,0,0,3\nc,0,0,3\n"));
}

QTEST_GUILESS_MAIN(TestPeerSandbox)
#include "tst_peer_sandbox.moc"
