#include "check/sandbox/UnitCgroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <atomic>
#include <csignal>

#ifdef __linux__
#include <unistd.h>
#endif

namespace Check {

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// The number after `key` on its line of a flat keyed file ("oom_kill 3").
int keyed(const QByteArray& text, const QByteArray& key)
{
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 2 && fields.at(0) == key)
            return fields.at(1).toInt();
    }
    return 0;
}

// Mount points of the cgroup file systems: the v2 one, and v1's by controller.
struct Mounts
{
    QString unified;
    QHash<QString, QString> byController;
};

Mounts mounts()
{
    Mounts found;
    for (const QByteArray& line : readFile(QStringLiteral("/proc/self/mountinfo")).split('\n')) {
        // ID PARENT MAJ:MIN ROOT MOUNTPOINT OPTIONS ... - TYPE SOURCE SUPER-OPTIONS
        const int dash = line.indexOf(" - ");
        if (dash < 0)
            continue;
        const QList<QByteArray> before = line.left(dash).split(' ');
        const QList<QByteArray> after = line.mid(dash + 3).split(' ');
        if (before.size() < 5 || after.size() < 3)
            continue;
        const QString point = QString::fromUtf8(before.at(4));
        if (after.at(0) == "cgroup2") {
            found.unified = point;
        } else if (after.at(0) == "cgroup") {
            for (const QByteArray& option : after.at(2).split(','))
                found.byController.insert(QString::fromUtf8(option), point);
        }
    }
    return found;
}

// This process's group per hierarchy: "" for v2, else the controllers ("memory", "cpu,cpuacct").
QHash<QString, QString> ownGroups()
{
    QHash<QString, QString> groups;
    for (const QByteArray& line : readFile(QStringLiteral("/proc/self/cgroup")).split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() == 3)
            groups.insert(QString::fromUtf8(fields.at(1)), QString::fromUtf8(fields.at(2)));
    }
    return groups;
}

bool writable(const QString& directory)
{
#ifdef __linux__
    return ::access(QFile::encodeName(directory).constData(), W_OK) == 0;
#else
    Q_UNUSED(directory)
    return false;
#endif
}

constexpr const char* keeperName = "zuv-keeper";
QString preparedOwn; // v2: the group whose leaf this process moved into

UnitCgroup::Home findHome()
{
    UnitCgroup::Home home;
#ifndef __linux__
    home.why = QStringLiteral("control groups are Linux's");
    return home;
#else
    const Mounts found = mounts();
    const QHash<QString, QString> own = ownGroups();
    const QString self = QString::number(::getpid());
    QStringList reasons;

    if (!found.unified.isEmpty() && own.contains(QString())) {
        const QString ownDir = QDir::cleanPath(found.unified + own.value(QString()));
        const auto controlled = [](const QString& dir, const char* file) {
            const QList<QByteArray> names =
                readFile(dir + QLatin1Char('/') + QLatin1String(file)).simplified().split(' ');
            return names.contains("memory") && names.contains("pids");
        };
        if (QFileInfo(ownDir).fileName() == QLatin1String(keeperName)) {
            // A grader made it for the checks it runs: their groups go beside it.
            const QString parent = QFileInfo(ownDir).path();
            if (controlled(parent, "cgroup.subtree_control") && writable(parent)) {
                home.version = 2;
                home.parents = QStringList{parent};
                return home;
            }
        } else if (controlled(ownDir, "cgroup.controllers") && writable(ownDir)) {
            // Groups below one's own need it free of processes: this one moves into a leaf.
            const QString keeper = ownDir + QLatin1Char('/') + QLatin1String(keeperName);
            QDir().mkpath(keeper);
            QByteArray enable = "+memory +pids";
            if (readFile(ownDir + QStringLiteral("/cgroup.controllers")).contains("cpu"))
                enable += " +cpu";
            if (writeFile(keeper + QStringLiteral("/cgroup.procs"), self.toLatin1()) &&
                writeFile(ownDir + QStringLiteral("/cgroup.subtree_control"), enable)) {
                preparedOwn = ownDir;
                home.version = 2;
                home.parents = QStringList{ownDir};
                return home;
            }
            writeFile(ownDir + QStringLiteral("/cgroup.procs"), self.toLatin1());
            QDir().rmdir(keeper);
            reasons << QStringLiteral("cgroup v2: cannot enable memory and pids below %1").arg(ownDir);
        } else {
            reasons << QStringLiteral("cgroup v2: %1 is not delegated to this user").arg(ownDir);
        }
    }

    // cgroup v1: memory and pids (cpu where it is mounted), each below this process's own group.
    for (const char* controller : {"memory", "pids", "cpu"}) {
        const QString name = QLatin1String(controller);
        QString path;
        for (auto group = own.begin(); group != own.end(); ++group) {
            if (group.key().split(QLatin1Char(',')).contains(name))
                path = group.value();
        }
        const QString mount = found.byController.value(name);
        const QString dir = QDir::cleanPath(mount + path);
        if (!mount.isEmpty() && writable(dir)) {
            home.parents << dir;
        } else if (name != QLatin1String("cpu")) {
            reasons << QStringLiteral("cgroup v1: no %1 group that this user may write").arg(name);
            home.parents.clear();
            break;
        }
    }
    if (!home.parents.isEmpty()) {
        home.version = 1;
        return home;
    }
    home.why = reasons.join(QStringLiteral("; "));
    return home;
#endif
}

std::atomic<int> created{0};

} // namespace

// Groups that a check killed before it could remove them are empty: they go now.
static void removeStale(const QStringList& parents)
{
    for (const QString& parent : parents) {
        const QDir folder(parent);
        for (const QString& name : folder.entryList({QStringLiteral("zuv-unit-*")}, QDir::Dirs)) {
            const QString pid = name.section(QLatin1Char('-'), 2, 2);
            if (!QFileInfo::exists(QStringLiteral("/proc/") + pid))
                folder.rmdir(name);
        }
    }
}

const UnitCgroup::Home& UnitCgroup::home()
{
    static const Home found = [] {
        Home home = findHome();
        removeStale(home.parents);
        return home;
    }();
    return found;
}

void UnitCgroup::releaseHome()
{
#ifdef __linux__
    if (preparedOwn.isEmpty())
        return;
    writeFile(preparedOwn + QStringLiteral("/cgroup.subtree_control"), "-memory -pids -cpu");
    writeFile(preparedOwn + QStringLiteral("/cgroup.procs"), QByteArray::number(::getpid()));
    QDir(preparedOwn).rmdir(QLatin1String(keeperName));
    preparedOwn.clear();
#endif
}

UnitCgroup::~UnitCgroup()
{
    remove();
}

QString UnitCgroup::create(const Limits& limits)
{
    const Home& where = home();
    if (where.version == 0)
        return where.why;
    version = where.version;
    const QString name =
        QStringLiteral("zuv-unit-%1-%2").arg(QCoreApplication::applicationPid()).arg(++created);
    for (const QString& parent : where.parents) {
        const QString dir = parent + QLatin1Char('/') + name;
        if (!QDir().mkdir(dir)) {
            remove();
            return QStringLiteral("cannot make the control group %1").arg(dir);
        }
        directories << dir;
    }
    const QByteArray memory = QByteArray::number(limits.memory);
    const QByteArray quota = QByteArray::number(qint64(limits.cpus) * 100000);
    struct Setting
    {
        const char* file;
        QByteArray value;
        bool required;
    };
    const std::vector<Setting> settings =
        version == 2 ? std::vector<Setting>{{"memory.max", memory, true},
                                            {"memory.swap.max", "0", false},
                                            {"memory.oom.group", "1", false},
                                            {"pids.max", QByteArray::number(limits.processes), true},
                                            {"cpu.max", quota + " 100000", false}}
                     : std::vector<Setting>{{"memory.limit_in_bytes", memory, true},
                                            {"memory.memsw.limit_in_bytes", memory, false},
                                            {"pids.max", QByteArray::number(limits.processes), true},
                                            {"cpu.cfs_period_us", "100000", false},
                                            {"cpu.cfs_quota_us", quota, false}};
    for (const Setting& setting : settings) {
        bool done = false;
        for (const QString& dir : std::as_const(directories)) {
            const QString file = dir + QLatin1Char('/') + QLatin1String(setting.file);
            if (QFileInfo::exists(file))
                done = writeFile(file, setting.value) || done;
        }
        if (!done && setting.required) {
            remove();
            return QStringLiteral("cannot set %1 of a control group").arg(QLatin1String(setting.file));
        }
    }
    return {};
}

QStringList UnitCgroup::joinFiles() const
{
    QStringList files;
    for (const QString& dir : directories)
        files << dir + QStringLiteral("/cgroup.procs");
    return files;
}

UnitCgroup::Events UnitCgroup::events() const
{
    Events events;
    for (const QString& dir : directories) {
        events.memoryKills += keyed(readFile(dir + QStringLiteral("/memory.events")), "oom_kill") +
                              keyed(readFile(dir + QStringLiteral("/memory.oom_control")), "oom_kill");
        events.processLimits += keyed(readFile(dir + QStringLiteral("/pids.events")), "max");
    }
    return events;
}

QVector<qint64> UnitCgroup::processes() const
{
    QSet<qint64> found;
    for (const QString& dir : directories) {
        for (const QByteArray& line : readFile(dir + QStringLiteral("/cgroup.procs")).split('\n')) {
            if (!line.isEmpty())
                found.insert(line.toLongLong());
        }
    }
    return QVector<qint64>(found.begin(), found.end());
}

void UnitCgroup::remove()
{
#ifdef __linux__
    for (int attempt = 0; attempt < 100 && !directories.isEmpty(); ++attempt) {
        for (const qint64 process : processes())
            ::kill(pid_t(process), SIGKILL);
        for (auto dir = directories.begin(); dir != directories.end();) {
            if (QDir().rmdir(*dir))
                dir = directories.erase(dir);
            else
                ++dir;
        }
        if (!directories.isEmpty())
            QThread::msleep(10); // the kernel takes a moment to empty a group of ended processes
    }
#endif
    directories.clear();
}

} // namespace Check
