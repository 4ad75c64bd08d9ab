#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The renderer of the scene: Qt Quick's OpenGL scene graph or its software scene graph. Without a
// graphics processor, OpenGL runs on a software rasteriser (Mesa llvmpipe and the like), which
// costs many times the CPU of the software scene graph for the same frames.
namespace Renderer {

enum class Choice
{
    Automatic, // software when OpenGL is a software rasteriser, OpenGL otherwise
    OpenGL,
    Software,
};

// The choice named "auto", "opengl" or "software"; nothing for any other name.
std::optional<Choice> fromName(const QString& name);

// Whether an OpenGL renderer string (GL_RENDERER) names a rasteriser that runs on the CPU.
bool isSoftwareRasteriser(const QByteArray& renderer);

// The OpenGL renderer string of a context made on an offscreen surface; empty when no context can
// be made. Needs the application object.
QByteArray openGLRenderer();

// Selects the scene graph for a choice. With Automatic, a scene graph named in the environment
// (QT_QUICK_BACKEND or QMLSCENE_DEVICE) stays in force; an explicit choice overrides it. What was
// chosen, and why, goes to the logging category zuv.renderer (info, off unless enabled, e.g. with
// QT_LOGGING_RULES=zuv.renderer.info=true).
//
// Made before the application object: where the choice depends on the OpenGL renderer, a child
// process (on POSIX systems) finds it out meanwhile, with an application object of its own and the
// same arguments. The OpenGL driver is then loaded into the program only when it draws with
// OpenGL: Mesa's llvmpipe alone brings some 55 MB and five threads of its own.
class Selection
{
public:
    Selection(Choice choice, int argc, char** argv);
    ~Selection();
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // Needs the application object and must run before the first window is made: the scene graph
    // is fixed with the first one.
    void apply();

private:
    QByteArray probedRenderer();

    Choice choice;
    bool probing = false;
#ifndef _WIN32
    int probeOutput = -1;
    long long probeProcess = -1;
#endif
};

} // namespace Renderer
