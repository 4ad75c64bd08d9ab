// Every picture of the catalogue keeps its exact canvas, uses only what Qt's SVG renderer draws,
// and draws cleanly.
#include "ArtworkPictures.h"

#include "Catalogue.h"

#include <QGuiApplication>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QStringList g_warnings;

void recordWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << message;
}

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void canvas_data();
    void canvas();
    void rendersCleanly_data();
    void rendersCleanly();
};

void CatalogueTest::initTestCase()
{
    qInstallMessageHandler(recordWarnings);
    QVERIFY2(QDir(imagesDir()).exists(), qPrintable(imagesDir()));
}

void CatalogueTest::canvas_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("viewBox");
    for (const Group& group : catalogue())
        for (const QString& file : group.files)
            QTest::addRow("%s: %s", group.name, qPrintable(file))
                << file << group.canvas.width << group.canvas.height
                << (group.canvas.viewBox ? QString::fromLatin1(group.canvas.viewBox) : QString());
}

void CatalogueTest::canvas()
{
    QFETCH(QString, file);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, viewBox);
    QFile svg(imagesDir() + QLatin1Char('/') + file);
    if (!svg.exists())
        QSKIP(qPrintable(QStringLiteral("missing %1").arg(file)));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    while (!xml.atEnd() && !(xml.isStartElement() && xml.name() == QLatin1String("svg")))
        xml.readNext();
    QVERIFY2(xml.isStartElement(), "no svg element");
    const QXmlStreamAttributes attributes = xml.attributes();
    QCOMPARE(attributes.value(QLatin1String("width")).toString(), width);
    QCOMPARE(attributes.value(QLatin1String("height")).toString(), height);
    if (!viewBox.isNull())
        QCOMPARE(attributes.value(QLatin1String("viewBox")).toString(), viewBox);

    // Only what Qt's SVG renderer draws: no filters, masks, clipping, style sheets, text or raster.
    static const QStringList unsupported{"filter", "mask",  "clipPath",      "style",
                                         "text",   "image", "foreignObject", "pattern"};
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            QVERIFY2(!unsupported.contains(xml.name().toString()),
                     qPrintable(QStringLiteral("uses <%1>").arg(xml.name().toString())));
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void CatalogueTest::rendersCleanly_data()
{
    QTest::addColumn<QString>("file");
    for (const Group& group : catalogue())
        for (const QString& file : group.files)
            QTest::addRow("%s", qPrintable(file)) << file;
}

void CatalogueTest::rendersCleanly()
{
    QFETCH(QString, file);
    const QString path = imagesDir() + QLatin1Char('/') + file;
    if (!QFile::exists(path))
        QSKIP(qPrintable(QStringLiteral("missing %1").arg(file)));
    g_warnings.clear();
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    const QSizeF size = renderer.viewBoxF().size().scaled(256, 256, Qt::KeepAspectRatio);
    const QImage image = render(path, size.toSize());
    QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1String("; "))));
    QVERIFY2(!opaqueBox(image, 0).isNull(), "draws nothing");
}

ARTWORK_TEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
