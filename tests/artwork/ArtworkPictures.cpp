#include "ArtworkPictures.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

QString imagesDir()
{
    const QByteArray env = qgetenv("ZUV_IMAGES_DIR");
    return env.isEmpty() ? QStringLiteral(ZUV_IMAGES_DIR) : QString::fromLocal8Bit(env);
}

QString modulePath(const QString& name)
{
    return imagesDir() + QStringLiteral("/svg-multilayer-extracted/zuv-modules_%1.svg").arg(name);
}

const QPointF kPivot(0.5866666666666667 * kPageW, 0.35146666666666665 * kPageH);

QImage render(const QString& path, const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

QImage renderModuleLayer(const QString& name)
{
    return render(modulePath(name), QSize(kPageW, kPageH));
}

const QImage& boardLayer()
{
    static const QImage board = QFile::exists(modulePath("generic_discovery_board"))
                                    ? renderModuleLayer("generic_discovery_board")
                                    : QImage();
    return board;
}

int alphaAt(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

QRect opaqueBox(const QImage& image, int threshold)
{
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > threshold) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

double shareAbove(const QImage& image, int threshold)
{
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(line[x]) > threshold;
    }
    return double(count) / (qint64(image.width()) * image.height());
}

int overlap(const QImage& a, int thresholdA, const QImage& b, int thresholdB)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += alphaAt(a, x, y) > thresholdA && alphaAt(b, x, y) > thresholdB;
    return count;
}

QRectF pressArea(double cx, double cy, double side)
{
    const double s = side * kPageW;
    return {cx * kPageW - s / 2, cy * kPageH - s / 2, s, s};
}

QPointF rotated(const QPointF& p, double degrees)
{
    const double a = degrees * M_PI / 180.0;
    const QPointF d = p - kPivot;
    return kPivot +
           QPointF(d.x() * std::cos(a) - d.y() * std::sin(a), d.x() * std::sin(a) + d.y() * std::cos(a));
}
