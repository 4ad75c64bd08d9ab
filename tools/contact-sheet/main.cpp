// contact-sheet: renders every SVG picture below an images directory onto PNG sheets with
// Qt's SVG renderer, and stacks each module view's layers as the views do, so that the whole
// picture set can be looked at side by side.
//
//   contact-sheet [--mark-areas] [--each] [--tile-size N] [--only TEXT] <images dir> <out dir>
//
// --mark-areas adds a sheet with the press areas, the wiper pivot and the display area
// outlined over the module stacks; --each also writes every module stack as its own PNG;
// --tile-size sets the side of a tile (150), --only keeps the files whose path contains TEXT.

#include "modulestacks.h"
#include "sheetpainter.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>

namespace {

QStringList g_messages;

void collectMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_messages.append(message);
}

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

int g_tileBox = 150;
constexpr int kSheetColumns = 5;
constexpr int kTilesPerSheet = 40;

// One file: the picture on the window's dark background and on a checker board.
SheetCell tileFor(const QString& path, const QString& caption, QStringList* problems)
{
    QString error;
    g_messages.clear();
    const QImage picture = renderFitted(path, QSize(g_tileBox - 8, g_tileBox - 8), &error);
    QImage tile(2 * g_tileBox + 6, g_tileBox, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.fillRect(QRectF(0, 0, g_tileBox, g_tileBox), kDarkBackground.lighter(100));
    painter.setPen(QColor(0x3a, 0x3a, 0x3a));
    painter.drawRect(QRectF(0.5, 0.5, g_tileBox - 1, g_tileBox - 1));
    fillChecker(painter, QRectF(g_tileBox + 6, 0, g_tileBox, g_tileBox));
    if (picture.isNull()) {
        problems->append(QStringLiteral("%1: %2").arg(caption, error));
        painter.setPen(QPen(Qt::red, 3));
        painter.drawLine(10, 10, g_tileBox - 10, g_tileBox - 10);
        painter.drawLine(g_tileBox - 10, 10, 10, g_tileBox - 10);
    } else {
        painter.drawImage(4, 4, picture);
        painter.drawImage(g_tileBox + 10, 4, picture);
    }
    for (const QString& message : qAsConst(g_messages))
        problems->append(QStringLiteral("%1: %2").arg(caption, message));
    return {caption, tile};
}

bool save(const QImage& image, const QString& path, QStringList* written)
{
    if (!image.save(path)) {
        err() << "cannot write " << path << '\n';
        return false;
    }
    written->append(path);
    return true;
}

QVector<SheetCell> stackCells(const QString& layersDir, int width, bool markAreas, QStringList* problems)
{
    QVector<SheetCell> cells;
    for (const ModuleView& view : moduleViews()) {
        struct Variant
        {
            QString label;
            bool on;
            double angle;
        };
        QVector<Variant> variants{{QStringLiteral("unlit"), false, 0.0},
                                  {QStringLiteral("all lit"), true, 0.0}};
        if (view.hasWiperArm) {
            variants.append({QStringLiteral("arm at 45\u00b0"), false, 45.0});
            variants.append({QStringLiteral("arm at 90\u00b0, lit"), true, 90.0});
        }
        if (markAreas && !view.hasWiperArm)
            variants.removeFirst();
        for (const Variant& variant : variants) {
            const QImage image =
                renderStack(layersDir, view, width, {variant.on, variant.angle, markAreas}, problems);
            cells.append({QStringLiteral("%1 \u2013 %2").arg(view.name, variant.label), image});
        }
    }
    for (double distance : {0.5, 0.25, 0.03}) {
        const QImage scene = renderInfraredScene(layersDir, width, distance, problems);
        cells.append({QStringLiteral("infrared sensor \u2013 object at %1 m").arg(distance), scene});
    }
    return cells;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(collectMessage);

    QStringList args = app.arguments().mid(1);
    const bool markAreas = args.removeAll(QStringLiteral("--mark-areas")) > 0;
    const bool each = args.removeAll(QStringLiteral("--each")) > 0;
    QString only;
    const int onlyOption = args.indexOf(QStringLiteral("--only"));
    if (onlyOption >= 0 && onlyOption + 1 < args.size()) {
        only = args.at(onlyOption + 1);
        args.erase(args.begin() + onlyOption, args.begin() + onlyOption + 2);
    }
    const int sizeOption = args.indexOf(QStringLiteral("--tile-size"));
    if (sizeOption >= 0 && sizeOption + 1 < args.size()) {
        g_tileBox = qBound(32, args.at(sizeOption + 1).toInt(), 1024);
        args.erase(args.begin() + sizeOption, args.begin() + sizeOption + 2);
    }
    if (args.size() != 2) {
        err() << "usage: contact-sheet [--mark-areas] [--each] [--tile-size N] [--only TEXT] <images dir> "
                 "<out dir>\n";
        return 2;
    }
    const QDir imagesDir(args.at(0));
    if (!imagesDir.exists()) {
        err() << "no such directory: " << args.at(0) << '\n';
        return 2;
    }
    if (!QDir().mkpath(args.at(1))) {
        err() << "cannot create " << args.at(1) << '\n';
        return 1;
    }
    const QDir outDir(args.at(1));

    QStringList files;
    QDirIterator it(imagesDir.absolutePath(), {QStringLiteral("*.svg")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = imagesDir.relativeFilePath(it.next());
        if (only.isEmpty() || file.contains(only))
            files.append(file);
    }
    files.sort();

    QStringList problems;
    QStringList written;
    bool ok = true;

    QVector<SheetCell> tiles;
    for (const QString& file : qAsConst(files)) {
        const QString caption =
            file.startsWith(QLatin1String("svg-multilayer-extracted/")) ? QFileInfo(file).fileName() : file;
        tiles.append(tileFor(imagesDir.filePath(file), caption, &problems));
    }
    const int sheets = (tiles.size() + kTilesPerSheet - 1) / kTilesPerSheet;
    for (int s = 0; s < sheets; ++s) {
        const QVector<SheetCell> part = tiles.mid(s * kTilesPerSheet, kTilesPerSheet);
        const QString title = QStringLiteral("%1 \u2013 sheet %2 of %3 (%4 pictures)")
                                  .arg(imagesDir.absolutePath())
                                  .arg(s + 1)
                                  .arg(sheets)
                                  .arg(files.size());
        ok &= save(composeGrid(title, part, kSheetColumns),
                   outDir.filePath(QStringLiteral("contact-sheet-%1.png").arg(s + 1)), &written);
    }

    const QString layersDir = imagesDir.filePath(QStringLiteral("svg-multilayer-extracted"));
    QStringList stackProblems;
    for (int width : {464, 928}) {
        const QVector<SheetCell> cells = stackCells(layersDir, width, false, &stackProblems);
        ok &=
            save(composeGrid(QStringLiteral("module views at %1 px").arg(width), cells, width < 900 ? 4 : 2),
                 outDir.filePath(QStringLiteral("module-stacks-%1.png").arg(width)), &written);
        for (int i = 0; each && i < cells.size(); ++i)
            ok &= save(
                cells[i].image,
                outDir.filePath(QStringLiteral("stack-%1-%2.png").arg(width).arg(i, 2, 10, QLatin1Char('0'))),
                &written);
    }
    if (markAreas) {
        const QVector<SheetCell> cells = stackCells(layersDir, 928, true, &stackProblems);
        ok &= save(
            composeGrid(QStringLiteral("press areas (magenta), pivot (cyan), display (yellow)"), cells, 2),
            outDir.filePath(QStringLiteral("module-stacks-marked.png")), &written);
    }
    stackProblems.removeDuplicates();
    problems += stackProblems;

    for (const QString& path : qAsConst(written))
        out() << path << '\n';
    for (const QString& problem : qAsConst(problems))
        err() << "problem: " << problem << '\n';
    out().flush();
    err().flush();
    const bool invalid = std::any_of(problems.cbegin(), problems.cend(), [](const QString& p) {
        return !p.startsWith(QLatin1String("missing:"));
    });
    return ok && !invalid ? 0 : 1;
}
