// Figures of the program's scene, measured on the real scene set up as the program does it; the
// trace goes to /dev/null as with a redirected console.
//
//   ui_bench startup [runs]         first frame of the board, against a minimal Qt Quick window
//                                   started the same way (both as fresh processes), medians and
//                                   their ratio
//   ui_bench press [n]              a mouse press on the lights module's board button injected
//                                   into the scene, until a peer socket has received the datagram
//   ui_bench screen [n]             a datagram switching the brake light, until the frame that
//                                   shows it
//   ui_bench wiper [seconds]        the wiper driven at 36 steps/s: frame intervals and
//                                   step-to-frame times
//   ui_bench idle [seconds]         CPU used with nothing changing, and the resident memory after
//   ui_bench idle 1 minimal         start; the resident memory of a minimal Qt Quick window
//   ui_bench flood [seconds] [rate] a peer sending as fast as it can (or at rate documents/s), the
//                                   main thread stalled for 2 s in the middle: growth of resident
//                                   memory, and the time until the last document's value has been
//                                   delivered and drawn
#include "Scene/PlatformScene.h"
#include "UiBench.h"

#include <QGuiApplication>

int main(int argc, char* argv[])
{
    PlatformScene::registerResources();
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString mode = arguments.value(1);
    const int amount = arguments.value(2).toInt();
    if (mode == "startup-child")
        return UiBench::startupChild(arguments.value(2));
    if (mode == "startup")
        return UiBench::startup(arguments.value(0), amount > 0 ? amount : 10);
    if (mode == "press")
        return UiBench::press(amount > 0 ? amount : 200);
    if (mode == "screen")
        return UiBench::screen(amount > 0 ? amount : 200);
    if (mode == "wiper")
        return UiBench::wiper(amount > 0 ? amount : 5);
    if (mode == "idle")
        return UiBench::idle(amount > 0 ? amount : 10, arguments.contains("minimal"));
    if (mode == "flood")
        return UiBench::flood(amount > 0 ? amount : 60, arguments.value(3).toInt());
    std::fprintf(stderr, "usage: ui_bench startup|press|screen|wiper|idle|flood [amount]\n");
    return 2;
}
