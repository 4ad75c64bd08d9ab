#include "check/sandbox/UnitProcess.h"

#include "check/sandbox/Sandbox.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#include <csignal>

#ifdef __linux__
#include <fcntl.h>
#include <sched.h>
#include <sys/types.h>
#endif

namespace Check {

namespace {

// How long a unit has after SIGTERM before SIGKILL.
constexpr int stopGraceMs = 2000;
// How often a boxed unit's control group is looked at while it runs.
constexpr int watchMs = 100;
// The exit status of a shell whose command the kernel ended for writing past the file size limit.
constexpr int fileSizeStatus = 128 + 25;

// Joins the control groups named before "--", then runs what follows.
constexpr const char* joinScript = "while [ \"$1\" != -- ]; do echo $$ > \"$1\" || exit 125; shift; done; "
                                   "shift; exec \"$@\"";

// Every process's parent, from /proc.
QHash<qint64, qint64> parents()
{
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...: the name may hold spaces and parentheses; it ends at the last ')'.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parentOf.insert(pid, fields.at(1).toLongLong());
    }
    return parentOf;
}

// Marks every descriptor of this process but the standard three close-on-exec, so that a unit
// inherits none: not the checker's sockets or files, nor what the checker itself inherited.
void closeOnExecAll()
{
#ifdef __linux__
    const QStringList entries = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString& entry : entries) {
        const int descriptor = entry.toInt();
        if (descriptor > 2)
            ::fcntl(descriptor, F_SETFD, ::fcntl(descriptor, F_GETFD) | FD_CLOEXEC);
    }
#endif
}

void signal(qint64 pid, int number)
{
#ifndef _WIN32
    ::kill(pid_t(pid), number);
#else
    Q_UNUSED(pid)
    Q_UNUSED(number)
#endif
}

} // namespace

UnitProcess::UnitProcess(QObject* parent) : QObject(parent)
{
    connect(&process, &QProcess::readyReadStandardOutput, this, [this] { read(QProcess::StandardOutput); });
    connect(&process, &QProcess::readyReadStandardError, this, [this] { read(QProcess::StandardError); });
    connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, [this] {
        watcher.stop();
        read(QProcess::StandardOutput);
        read(QProcess::StandardError);
        watch();
        if (reached.isEmpty() && options.boxed && process.exitCode() == fileSizeStatus)
            reached = QStringLiteral("wrote a file larger than %1").arg(sizeText(options.limits.fileSize));
        emit ended();
    });
    watcher.setInterval(watchMs);
    connect(&watcher, &QTimer::timeout, this, [this] {
        watch();
        if (!reached.isEmpty()) {
            stop();
            emit ended();
        }
    });
}

UnitProcess::~UnitProcess()
{
    stop();
}

QString UnitProcess::start(const Options& given)
{
    options = given;
    closeOnExecAll();
    QString program;
    QStringList arguments;
    if (!options.boxed) {
        // In a session of its own, so that ending it ends whatever it started.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : std::as_const(options.environment))
            environment.insert(variable.section(QLatin1Char('='), 0, 0),
                               variable.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(options.directory);
        program = QStandardPaths::findExecutable(QStringLiteral("setsid"));
        arguments = QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"), options.command};
        if (program.isEmpty())
            program = arguments.takeFirst();
    } else {
        const QString failure = cgroup.create(options.limits);
        if (failure.isEmpty()) {
            how = QStringLiteral("cgroup v%1").arg(UnitCgroup::home().version);
            program = QStringLiteral("/bin/sh");
            arguments = QStringList{QStringLiteral("-c"), QLatin1String(joinScript), QStringLiteral("sh")} +
                        cgroup.joinFiles() + QStringList{QStringLiteral("--")} +
                        Sandbox::command(options.command, options.copy, options.writable, options.limits,
                                         options.environment, false, -1);
        } else {
            int cpu = -1;
#ifdef __linux__
            cpu = ::sched_getcpu();
#endif
            how = QStringLiteral("rlimits (%1)").arg(failure);
            arguments = Sandbox::command(options.command, options.copy, options.writable, options.limits,
                                         options.environment, true, cpu);
            program = arguments.takeFirst();
        }
    }
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return QStringLiteral("could not start '%1': %2").arg(options.command, process.errorString());
    if (cgroup.exists())
        watcher.start();
    return {};
}

void UnitProcess::read(QProcess::ProcessChannel channel)
{
    process.setReadChannel(channel);
    QByteArray& kept_ = kept[channel];
    while (process.bytesAvailable() > 0) {
        const QByteArray chunk = process.read(65536);
        const qint64 room = options.limits.output - kept_.size();
        if (room > 0)
            kept_ += chunk.left(int(std::min<qint64>(room, chunk.size())));
        if (chunk.size() > room)
            cut[channel] = true;
    }
}

QByteArray UnitProcess::output(QProcess::ProcessChannel channel) const
{
    return kept[channel];
}

bool UnitProcess::truncated(QProcess::ProcessChannel channel) const
{
    return cut[channel];
}

void UnitProcess::watch()
{
    if (!cgroup.exists() || !reached.isEmpty())
        return;
    const UnitCgroup::Events events = cgroup.events();
    if (events.memoryKills > 0)
        reached = QStringLiteral("used more than %1 of memory").arg(sizeText(options.limits.memory));
    else if (events.processLimits > 0)
        reached =
            QStringLiteral("tried to run more than %1 processes and threads").arg(options.limits.processes);
}

QVector<qint64> UnitProcess::sandboxProcesses(qint64& init, qint64& main) const
{
    // Everything the box's first process started stays its descendant: orphans are adopted by the
    // box's own init.
    const QHash<qint64, qint64> parentOf = parents();
    QVector<qint64> found = {process.processId()};
    for (int at = 0; at < found.size(); ++at) {
        for (auto entry = parentOf.begin(); entry != parentOf.end(); ++entry) {
            if (entry.value() == found.at(at))
                found << entry.key();
        }
    }
    init = found.size() > 1 ? found.at(1) : -1;
    main = found.size() > 2 && parentOf.value(found.at(2)) == init ? found.at(2) : -1;
    return found.mid(1);
}

void UnitProcess::stop()
{
    watcher.stop();
    if (process.state() == QProcess::NotRunning) {
        cgroup.remove();
        return;
    }
#ifndef _WIN32
    if (!options.boxed) {
        const qint64 group = process.processId();
        signal(-group, SIGTERM);
        if (!process.waitForFinished(stopGraceMs)) {
            signal(-group, SIGKILL);
            process.waitForFinished(stopGraceMs);
        }
        signal(-group, SIGKILL); // whatever it left behind in its session
        return;
    }
    qint64 init = -1;
    qint64 main = -1;
    const QVector<qint64> boxed = sandboxProcesses(init, main);
    const QHash<qint64, qint64> parentOf = parents();
    strays = 0;
    for (const qint64 pid : boxed) {
        if (pid != init && pid != main && parentOf.value(pid) == init)
            ++strays;
        if (pid != init)
            signal(pid, SIGTERM);
    }
    if (!process.waitForFinished(stopGraceMs)) {
        // The box's init takes everything in its PID namespace with it; bwrap ends after it.
        if (init > 0)
            signal(init, SIGKILL);
        if (!process.waitForFinished(stopGraceMs)) {
            signal(process.processId(), SIGKILL);
            process.waitForFinished(stopGraceMs);
        }
    }
    cgroup.remove();
    // Confirms that nothing of the box is left (the same number with the same parent).
    const auto left = [&] {
        const QHash<qint64, qint64> after = parents();
        return int(std::count_if(boxed.begin(), boxed.end(), [&](qint64 pid) {
            return after.contains(pid) && after.value(pid) == parentOf.value(pid);
        }));
    };
    QElapsedTimer waited;
    waited.start();
    while ((remaining = left()) > 0 && waited.elapsed() < stopGraceMs)
        QThread::msleep(10);
#else
    process.kill();
    process.waitForFinished(stopGraceMs);
#endif
}

} // namespace Check
