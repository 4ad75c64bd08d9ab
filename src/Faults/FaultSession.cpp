#include "Faults/FaultSession.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

void errorLine(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString linkText(const LinkConditions& link)
{
    QStringList parts;
    if (link.drop > 0)
        parts << QStringLiteral("drop %1 %%2")
                     .arg(link.drop * 100.0)
                     .arg(link.burst > 1 ? QStringLiteral(" in runs of %1").arg(link.burst) : QString());
    if (link.delay > 0 || link.jitter > 0)
        parts << QStringLiteral("delay %1 ms ± %2 ms")
                     .arg(double(link.delay) / 1000.0)
                     .arg(double(link.jitter) / 1000.0);
    if (link.duplicate > 0)
        parts << QStringLiteral("duplicate %1 %").arg(link.duplicate * 100.0);
    if (link.corrupt > 0)
        parts << QStringLiteral("corrupt %1 %").arg(link.corrupt * 100.0);
    if (link.outageFor > 0)
        parts << QStringLiteral("dark %1 s every %2 s")
                     .arg(double(link.outageFor) / 1e6)
                     .arg(double(link.outageEvery) / 1e6);
    return parts.join(QStringLiteral(", "));
}

} // namespace

FaultSession::FaultSession(QString file, bool quiet, QObject* parent)
    : QObject(parent), file(std::move(file)), quiet(quiet)
{
    settle.setSingleShot(true);
    settle.setInterval(200);
    connect(&settle, &QTimer::timeout, this, &FaultSession::reread);
    // Editors save by writing the file or by putting a new one in its place: both are watched.
    const auto changedOnDisk = [this] {
        if (!watcher.files().contains(this->file) && QFileInfo::exists(this->file))
            watcher.addPath(this->file);
        settle.start();
    };
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, changedOnDisk);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, changedOnDisk);
    transitions.setSingleShot(true);
    transitions.setTimerType(Qt::PreciseTimer);
    connect(&transitions, &QTimer::timeout, this, [this] {
        announce(QStringLiteral("faults: %1 s after %2 was read")
                     .arg(double(now() - loadedAt) / 1e6, 0, 'f', 1)
                     .arg(this->file));
        emit changed();
        scheduleNext();
    });
}

qint64 FaultSession::now()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QStringList FaultSession::start()
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return {QStringLiteral("%1: cannot read it: %2").arg(file, source.errorString())};
    contents = source.readAll();
    const FaultsLoaded loaded = parseFaults(file, contents);
    if (!loaded.errors.isEmpty())
        return loaded.errors;
    watcher.addPath(file);
    watcher.addPath(QFileInfo(file).absolutePath());
    apply(loaded.faults);
    announce(QStringLiteral("faults: %1 read").arg(file));
    return {};
}

void FaultSession::apply(const FaultSet& faults)
{
    const qint64 at = now();
    loadedAt = at;
    valueFaults.load(faults, at);
    peerLink.start(faults.link.toPeer, faults.link.seed * 2);
    programLink.start(faults.link.toProgram, faults.link.seed * 2 + 1);
    incoming = faults.link.toProgram.any();
    scheduleNext();
}

void FaultSession::reread()
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return; // gone for a moment while an editor replaces it; the next change reads it
    const QByteArray text = source.readAll();
    if (text == contents)
        return;
    contents = text;
    const FaultsLoaded loaded = parseFaults(file, text);
    if (!loaded.errors.isEmpty()) {
        errorLine(QStringLiteral("faults: %1 changed but is not valid; the previous faults stay:").arg(file));
        for (const QString& error : loaded.errors)
            errorLine(QStringLiteral("  ") + error);
        return;
    }
    apply(loaded.faults);
    announce(QStringLiteral("faults: %1 changed, read again").arg(file));
    emit changed();
}

void FaultSession::scheduleNext()
{
    const qint64 next = valueFaults.nextChange(now());
    if (next < 0) {
        transitions.stop();
        return;
    }
    transitions.start(static_cast<int>(std::max<qint64>(0, (next - now() + 999) / 1000)));
}

bool FaultSession::anyActive() const
{
    return !valueFaults.activeAt(now()).empty() || peerLink.active() || programLink.active();
}

void FaultSession::announce(const QString& headline)
{
    const auto active = valueFaults.activeAt(now());
    const LinkConditions& toPeerLink = peerLink.conditions();
    const LinkConditions& toProgramLink = programLink.conditions();
    const int count = int(active.size()) + (toPeerLink.any() ? 1 : 0) + (toProgramLink.any() ? 1 : 0);
    if (quiet) {
        errorLine(headline + (count > 0 ? QStringLiteral(": faults are at work (which ones is hidden)")
                                        : QStringLiteral(": no fault at work")));
        return;
    }
    errorLine(headline +
              QStringLiteral(": %1 at work")
                  .arg(count == 1 ? QStringLiteral("1 fault") : QStringLiteral("%1 faults").arg(count)));
    for (const ValueFault* fault : active)
        errorLine(QStringLiteral("  line %1: %2").arg(fault->line).arg(fault->describe()));
    if (toPeerLink.any())
        errorLine(QStringLiteral("  link to the peer: ") + linkText(toPeerLink));
    if (toProgramLink.any())
        errorLine(QStringLiteral("  link to the program: ") + linkText(toProgramLink));
    for (const ValueFault& fault : valueFaults.faults()) {
        if (std::find(active.begin(), active.end(), &fault) == active.end())
            errorLine(QStringLiteral("  line %1, not now: %2").arg(fault.line).arg(fault.describe()));
    }
}
