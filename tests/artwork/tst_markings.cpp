// The pictures (the scene's and the program's icon) carry the kit's own markings only: no real chip
// or board maker's name, product family or part number in any picture's text (its lettering,
// labels, comments and metadata) or in its file name.
#include "ArtworkPictures.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

namespace {

// The first real maker's name, product family or part number in text; empty when there is none.
// Words that are also plain words or abbreviations count only in capitals, as a part prints them.
QString vendorNameIn(const QString& text)
{
    static const QStringList makers{"stmicroelectronics",
                                    "nxp",
                                    "freescale",
                                    "atmel",
                                    "microchip",
                                    "espressif",
                                    "arduino",
                                    "raspberry",
                                    "nordic",
                                    "infineon",
                                    "renesas",
                                    "bosch",
                                    "cypress",
                                    "silabs",
                                    "broadcom",
                                    "qualcomm",
                                    "intel",
                                    "toshiba",
                                    "sharp",
                                    "maxim",
                                    "adafruit",
                                    "sparkfun",
                                    "seeed",
                                    "waveshare",
                                    "olimex",
                                    "beaglebone",
                                    "teensy",
                                    "keil",
                                    "segger",
                                    "cortex",
                                    "discovery",
                                    "nucleo",
                                    "launchpad",
                                    "kinetis"};
    static const QStringList capitals{"ST", "ARM", "TI", "PIC"};
    static const QStringList partPrefixes{"stm32",  "stm8",   "atmega", "attiny", "esp32", "esp8266",
                                          "nrf5",   "msp430", "uln200", "l298",   "a4988", "drv88",
                                          "gp2y",   "28byj",  "lis3",   "lis302", "cs43l", "mp45dt",
                                          "bh1750", "hc05",   "sr04"};
    static const QStringList phrases{"texas instruments", "analog devices", "silicon labs", "cirrus logic",
                                     "raspberry pi"};
    QString plain = text;
    plain.remove(QRegularExpression("#[0-9A-Fa-f]{3,8}\\b")); // colours
    const QStringList words = plain.split(QRegularExpression("[^A-Za-z0-9]+"), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        const QString lower = word.toLower();
        if (capitals.contains(word) || makers.contains(lower))
            return word;
        for (const QString& prefix : partPrefixes)
            if (lower.startsWith(prefix))
                return word;
    }
    const QString joined = QLatin1Char(' ') + words.join(QLatin1Char(' ')).toLower() + QLatin1Char(' ');
    for (const QString& phrase : phrases)
        if (joined.contains(QLatin1Char(' ') + phrase + QLatin1Char(' ')))
            return phrase;
    return {};
}

// Everything a picture says in words: its text and comments and every attribute but the geometry.
QString pictureText(const QString& path)
{
    static const QStringList geometry{
        "d", "points", "transform", "gradientTransform", "patternTransform", "viewBox"};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList text;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters() || xml.isComment())
            text << xml.text().toString();
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            if (!geometry.contains(attribute.name().toString()))
                text << attribute.value().toString();
    }
    return text.join(QLatin1Char('\n'));
}

// Every picture of the scene, and the program's icon; with the name of its row.
QVector<QPair<QString, QString>> pictures()
{
    QVector<QPair<QString, QString>> files;
    const QString roots[] = {imagesDir(), QStringLiteral(ZUV_PACKAGING_DIR)};
    for (const QString& root : roots) {
        QDirIterator it(root, {"*.svg", "*.png", "*.jpg"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = QDir(root).relativeFilePath(path);
            files.append({root == imagesDir() ? name : QStringLiteral("packaging/") + name, path});
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

class MarkingsTest : public QObject
{
    Q_OBJECT

private slots:
    void recognisesVendorNames_data();
    void recognisesVendorNames();
    void letteringIsReadable();
    void noVendorNameInText_data();
    void noVendorNameInText();
    void noVendorNameInFileName_data();
    void noVendorNameInFileName();
};

void MarkingsTest::recognisesVendorNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("vendor");
    for (const char* text : {"ST", "STM32F4", "ARM", "DISCOVERY", "ULN2003", "Texas  Instruments", "nRF52840",
                             "ESP32-S3", "ATmega328P", "zuv-modules_generic_discovery_board.svg"})
        QTest::addRow("%s", text) << QString::fromLatin1(text) << true;
    for (const char* text : {"ZUV-MC4", "ZUV BOARD", "USER", "ALARM", "zuv-modules_windshield_wiper_arm.svg",
                             "stop-color=\"#a49880\"", "stroke-linecap round"})
        QTest::addRow("%s", text) << QString::fromLatin1(text) << false;
}

void MarkingsTest::recognisesVendorNames()
{
    QFETCH(QString, text);
    QFETCH(bool, vendor);
    QCOMPARE(!vendorNameIn(text).isEmpty(), vendor);
}

// Lettering is drawn as paths; each carries its text, so that the checks below can read it.
void MarkingsTest::letteringIsReadable()
{
    REQUIRE_MODULE_LAYERS("generic_discovery_board")
    QVERIFY(pictureText(modulePath("generic_discovery_board")).contains("USER"));
}

void MarkingsTest::noVendorNameInText_data()
{
    QTest::addColumn<QString>("path");
    for (const auto& picture : pictures())
        QTest::addRow("%s", qPrintable(picture.first)) << picture.second;
}

void MarkingsTest::noVendorNameInText()
{
    QFETCH(QString, path);
    if (!path.endsWith(".svg"))
        QSKIP("a raster picture carries no text that can be read here");
    const QString found = vendorNameIn(pictureText(path));
    QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("carries \"%1\"").arg(found)));
}

void MarkingsTest::noVendorNameInFileName_data()
{
    noVendorNameInText_data();
}

void MarkingsTest::noVendorNameInFileName()
{
    QFETCH(QString, path);
    QEXPECT_FAIL("svg-multilayer-extracted/zuv-modules_generic_discovery_board.svg",
                 "named after an evaluation board; the scene loads it by this name", Continue);
    const QString found = vendorNameIn(QFileInfo(path).fileName());
    QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("named \"%1\"").arg(found)));
}

ARTWORK_TEST_MAIN(MarkingsTest)
#include "tst_markings.moc"
