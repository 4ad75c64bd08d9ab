#include "Scene/Renderer.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace Renderer {

namespace {

// The environment variables through which Qt Quick takes a scene graph by name.
constexpr const char* environmentBackends[] = {"QMLSCENE_DEVICE", "QT_QUICK_BACKEND"};

// How long the probe may take; a driver that needs longer is not one to draw with.
constexpr int probeTimeoutMs = 10000;

Q_LOGGING_CATEGORY(rendererLog, "zuv.renderer", QtWarningMsg)

QString environmentBackend()
{
    for (const char* variable : environmentBackends) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return QStringLiteral("%1 (%2 in the environment)")
                .arg(qEnvironmentVariable(variable), QLatin1String(variable));
    }
    return {};
}

} // namespace

std::optional<Choice> fromName(const QString& name)
{
    if (name == QLatin1String("auto"))
        return Choice::Automatic;
    if (name == QLatin1String("opengl"))
        return Choice::OpenGL;
    if (name == QLatin1String("software"))
        return Choice::Software;
    return std::nullopt;
}

bool isSoftwareRasteriser(const QByteArray& renderer)
{
    // Mesa's llvmpipe, softpipe and classic swrast ("Software Rasterizer"), Vulkan's lavapipe under
    // zink, Google's SwiftShader, Windows' own GDI renderer and WARP (also behind ANGLE).
    const QByteArray name = renderer.toLower();
    for (const char* rasteriser : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "lavapipe",
                                   "swiftshader", "gdi generic", "microsoft basic render"}) {
        if (name.contains(rasteriser))
            return true;
    }
    return false;
}

QByteArray openGLRenderer()
{
    QOpenGLContext context;
    if (!context.create())
        return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return {};
    const auto* renderer = context.functions()->glGetString(GL_RENDERER);
    const QByteArray name = renderer ? QByteArray(reinterpret_cast<const char*>(renderer)) : QByteArray();
    context.doneCurrent();
    return name;
}

Selection::Selection(Choice choice, int argc, char** argv) : choice(choice)
{
    probing = choice == Choice::Automatic && environmentBackend().isEmpty();
#ifdef _WIN32
    Q_UNUSED(argc)
    Q_UNUSED(argv)
#else
    if (!probing)
        return;
    int ends[2];
    if (::pipe(ends) != 0)
        return; // probed in the program itself
    const pid_t child = ::fork();
    if (child == 0) {
        // Nothing of the child reaches the console: the program's output is its own. Nor does it
        // keep anything else open that the program inherited or opened (a socket that holds a port,
        // a pipe whose reader waits for its end) beyond the program's life. Where no application
        // object can be made (no display), the program itself says so; the child just ends.
        constexpr int answer = 3; // the child's end of the pipe
        const int end = ::fcntl(ends[1], F_DUPFD, answer + 1);
        const int null = ::open("/dev/null", O_RDWR);
        for (const int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            ::dup2(null, standard);
        ::dup2(end, answer);
        ::close_range(answer + 1, ~0U, 0);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
            if (type == QtFatalMsg)
                ::_exit(1);
        });
        QGuiApplication application(argc, argv);
        const QByteArray renderer = openGLRenderer();
        [[maybe_unused]] const auto written = ::write(answer, renderer.constData(), renderer.size());
        ::_exit(0);
    }
    ::close(ends[1]);
    if (child < 0) {
        ::close(ends[0]);
        return;
    }
    probeOutput = ends[0];
    probeProcess = child;
#endif
}

Selection::~Selection()
{
#ifndef _WIN32
    if (probeOutput >= 0)
        ::close(probeOutput);
    if (probeProcess > 0) {
        ::kill(pid_t(probeProcess), SIGKILL);
        ::waitpid(pid_t(probeProcess), nullptr, 0);
    }
#endif
}

QByteArray Selection::probedRenderer()
{
#ifndef _WIN32
    if (probeProcess > 0) {
        // The renderer's name, to the end of the child's output; nothing when it failed or timed out.
        QByteArray renderer;
        pollfd output = {probeOutput, POLLIN, 0};
        char buffer[256];
        for (;;) {
            const int ready = ::poll(&output, 1, probeTimeoutMs);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0) {
                renderer.clear();
                break;
            }
            const auto count = ::read(probeOutput, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            renderer.append(buffer, int(count));
        }
        ::close(probeOutput);
        probeOutput = -1;
        ::kill(pid_t(probeProcess), SIGKILL); // a child that hangs
        ::waitpid(pid_t(probeProcess), nullptr, 0);
        probeProcess = -1;
        return renderer;
    }
#endif
    return openGLRenderer();
}

void Selection::apply()
{
    QString chosen;
    switch (choice) {
    case Choice::Software:
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        chosen = QStringLiteral("software (--renderer software)");
        break;
    case Choice::OpenGL:
        // Qt Quick's default; a scene graph named in the environment would take its place.
        for (const char* variable : environmentBackends)
            qunsetenv(variable);
        chosen = QStringLiteral("opengl (--renderer opengl)");
        break;
    case Choice::Automatic: {
        if (!probing) {
            chosen = environmentBackend();
            break;
        }
        const QByteArray renderer = probedRenderer();
        if (renderer.isEmpty()) {
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
            chosen = QStringLiteral("software (no OpenGL context)");
        } else if (isSoftwareRasteriser(renderer)) {
            QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
            chosen =
                QStringLiteral("software (OpenGL renders on the CPU: %1)").arg(QString::fromUtf8(renderer));
        } else {
            chosen = QStringLiteral("opengl (%1)").arg(QString::fromUtf8(renderer));
        }
        break;
    }
    }
    qCInfo(rendererLog).noquote() << chosen;
}

} // namespace Renderer
