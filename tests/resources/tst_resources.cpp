#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qCleanupResources_VirtualPlatformCoreLargeImagesResources();
int qCleanupResources_VirtualPlatformCoreImagesResources();
int qCleanupResources_VirtualPlatformCoreQmlResources();

namespace {

const QString root = QStringLiteral(":/JOLV/ZUV-VirtualPlatformCore/");

QSet<QString> filesBelow(const QString& directory)
{
    QSet<QString> files;
    QDirIterator it(root + directory, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(root.size());
    return files;
}

QSet<QString> treeFiles()
{
    return filesBelow("images") | filesBelow("qml") | filesBelow("fonts");
}

const QSet<QString> largeImages = {"images/svg-multilayer-extracted/zuv-modules_generic_discovery_board.svg",
                                   "images/svg-multilayer-extracted/zuv-modules_windshield.svg"};

} // namespace

// The resource tree as the program carries it: what each bundle holds, and that every picture,
// font and document that a document names is in it.
class ResourcesTest : public QObject
{
    Q_OBJECT

private slots:
    void eachBundleHoldsItsShare();
    void everyNamedFileIsInTheTree();
};

void ResourcesTest::eachBundleHoldsItsShare()
{
    qCleanupResources_VirtualPlatformCoreLargeImagesResources();
    qCleanupResources_VirtualPlatformCoreImagesResources();
    qCleanupResources_VirtualPlatformCoreQmlResources();
    QVERIFY(treeFiles().isEmpty());

    QCOMPARE(qInitResources_VirtualPlatformCoreLargeImagesResources(), 1);
    QSet<QString> large = treeFiles();
    QVERIFY(large.subtract(largeImages).isEmpty());
    QCOMPARE(qCleanupResources_VirtualPlatformCoreLargeImagesResources(), 1);

    QCOMPARE(qInitResources_VirtualPlatformCoreImagesResources(), 1);
    const QSet<QString> images = treeFiles();
    for (const QString& file : images) {
        QVERIFY2(file.startsWith("images/svg/") || file.startsWith("images/svg-multilayer-extracted/"),
                 qPrintable(file));
        QVERIFY2(file.endsWith(".svg") && !largeImages.contains(file), qPrintable(file));
    }
    QCOMPARE(qCleanupResources_VirtualPlatformCoreImagesResources(), 1);

    QCOMPARE(qInitResources_VirtualPlatformCoreQmlResources(), 1);
    const QSet<QString> documents = treeFiles();
    QVERIFY(documents.contains("qml/ZUV-VirtualPlatformMain.qml"));
    QVERIFY(documents.contains("fonts/OpenSans-Regular.ttf"));
    for (const QString& file : documents)
        QVERIFY2(file.endsWith(".qml") || file.endsWith("/qmldir") || file == "fonts/OpenSans-Regular.ttf",
                 qPrintable(file));
}

void ResourcesTest::everyNamedFileIsInTheTree()
{
    qInitResources_VirtualPlatformCoreLargeImagesResources();
    qInitResources_VirtualPlatformCoreImagesResources();
    qInitResources_VirtualPlatformCoreQmlResources();
    const QSet<QString> tree = treeFiles();
    QSet<QString> fileNames;
    for (const QString& file : tree)
        fileNames << file.section('/', -1);

    // Full URLs must resolve as written; picture and font names (documents also build URLs from a
    // directory prefix and a name) must exist somewhere in the tree.
    const QRegularExpression url(R"(qrc:/JOLV/ZUV-VirtualPlatformCore/([^"'\s]+\.(?:svg|ttf|qml)))");
    const QRegularExpression name(R"(([A-Za-z0-9_.\-]+\.(?:svg|ttf)))");
    int documents = 0;
    QSet<QString> named;
    for (const QString& file : tree) {
        if (!file.endsWith(".qml"))
            continue;
        ++documents;
        QFile document(root + file);
        QVERIFY(document.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(document.readAll());
        for (auto match = url.globalMatch(text); match.hasNext();) {
            const QString path = match.next().captured(1);
            QVERIFY2(tree.contains(path), qPrintable(file + " names a missing file: " + path));
        }
        for (auto match = name.globalMatch(text); match.hasNext();) {
            const QString picture = match.next().captured(1);
            named << picture;
            QVERIFY2(fileNames.contains(picture), qPrintable(file + " names a missing file: " + picture));
        }
    }
    QVERIFY(documents >= 1);
    qInfo("%d documents name %d distinct pictures and fonts", documents, int(named.size()));
}

QTEST_GUILESS_MAIN(ResourcesTest)
#include "tst_resources.moc"
