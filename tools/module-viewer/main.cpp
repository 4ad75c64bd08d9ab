// Shows the board's module views in a window and saves screenshots of the states that the scene
// script steps through. Usage:
//
//   module-viewer [--out DIR] [--scene FILE.qml] [--width W] [--only NAME]
//
// The scene (ModuleViewer.qml by default, read from the source tree so that it can be edited
// without rebuilding) talks to the object "moduleViewer": it sends real mouse events through it,
// asks it to save the window, and ends the run with quit().

#include "VirtualPlatformDataModel.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTextStream>

int qInitResources_VirtualPlatformCoreLargeImagesResources();
int qInitResources_VirtualPlatformCoreImagesResources();
int qInitResources_VirtualPlatformCoreQmlResources();
int qInitResources_JolvUtilsResources();

namespace {

class ModuleViewer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qreal moduleWidth READ moduleWidth CONSTANT)
    Q_PROPERTY(QString only READ only CONSTANT)

public:
    ModuleViewer(QString outDir, qreal moduleWidth, QString only)
        : m_outDir(std::move(outDir)), m_moduleWidth(moduleWidth), m_only(std::move(only))
    {
    }

    void setWindow(QQuickWindow* window) { m_window = window; }
    qreal moduleWidth() const { return m_moduleWidth; }
    QString only() const { return m_only; }

    Q_INVOKABLE bool save(const QString& name) const
    {
        if (!m_window)
            return false;
        const QString path = QDir(m_outDir).filePath(name + QStringLiteral(".png"));
        const bool saved = m_window->grabWindow().save(path);
        QTextStream(stdout) << (saved ? "saved " : "could not save ") << path << Qt::endl;
        return saved;
    }

    Q_INVOKABLE void mousePress(qreal x, qreal y)
    {
        send(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    Q_INVOKABLE void mouseRelease(qreal x, qreal y)
    {
        send(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
    }
    Q_INVOKABLE void mouseMove(qreal x, qreal y, bool held)
    {
        send(QEvent::MouseMove, x, y, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton);
    }

    Q_INVOKABLE void quit(int code) const { QCoreApplication::exit(code); }

private:
    void send(QEvent::Type type, qreal x, qreal y, Qt::MouseButton button, Qt::MouseButtons buttons) const
    {
        if (!m_window)
            return;
        const QPointF local(x, y);
        QMouseEvent event(type, local, local, m_window->mapToGlobal(local.toPoint()), button, buttons,
                          Qt::NoModifier);
        QGuiApplication::sendEvent(m_window, &event);
    }

    QString m_outDir;
    qreal m_moduleWidth;
    QString m_only;
    QQuickWindow* m_window = nullptr;
};

} // namespace

int main(int argc, char* argv[])
{
    qInitResources_VirtualPlatformCoreLargeImagesResources();
    qInitResources_VirtualPlatformCoreImagesResources();
    qInitResources_VirtualPlatformCoreQmlResources();
    qInitResources_JolvUtilsResources();

    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Directory for the screenshots."),
                                       QStringLiteral("dir"), QStringLiteral("."));
    const QCommandLineOption sceneOption(QStringLiteral("scene"), QStringLiteral("Scene document."),
                                         QStringLiteral("file"), QStringLiteral(MODULE_VIEWER_SCENE));
    const QCommandLineOption widthOption(QStringLiteral("width"),
                                         QStringLiteral("Module width (464.1 as on the board)."),
                                         QStringLiteral("pixels"), QStringLiteral("464.1"));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Show only this module view."),
                                        QStringLiteral("name"));
    parser.addOptions({outOption, sceneOption, widthOption, onlyOption});
    parser.process(app);

    QDir().mkpath(parser.value(outOption));
    VirtualPlatformDataModel model;
    ModuleViewer viewer(parser.value(outOption), parser.value(widthOption).toDouble(),
                        parser.value(onlyOption));

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.rootContext()->setContextProperty(QStringLiteral("virtualPlatformDataModel"), &model);
    engine.rootContext()->setContextProperty(QStringLiteral("moduleViewer"), &viewer);
    engine.load(QUrl::fromLocalFile(parser.value(sceneOption)));
    if (engine.rootObjects().isEmpty())
        return 1;
    viewer.setWindow(qobject_cast<QQuickWindow*>(engine.rootObjects().constFirst()));
    return app.exec();
}

#include "main.moc"
