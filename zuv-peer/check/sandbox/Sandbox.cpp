#include "check/sandbox/Sandbox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

#ifdef __linux__
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Check::Sandbox {

namespace {

QString bwrap()
{
    return QStandardPaths::findExecutable(QStringLiteral("bwrap"));
}

QString systemTool(const QString& name)
{
    // Also where an ordinary user's PATH does not look.
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty()
               ? QStandardPaths::findExecutable(
                     name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin")})
               : found;
}

// Runs a probe with its output discarded; true when it succeeded.
bool succeeds(const QString& program, const QStringList& arguments)
{
    QProcess probe;
    probe.setStandardOutputFile(QProcess::nullDevice());
    probe.setStandardErrorFile(QProcess::nullDevice());
    probe.start(program, arguments);
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

} // namespace

QString unavailable()
{
#ifndef __linux__
    return QStringLiteral("the sandbox needs Linux; grade with --no-sandbox elsewhere");
#else
    if (bwrap().isEmpty())
        return QStringLiteral("the sandbox needs bubblewrap (bwrap), which is not installed: install the "
                              "package bubblewrap (apt install bubblewrap), or run without a sandbox "
                              "(--no-sandbox) on code you trust");
    if (systemTool(QStringLiteral("prlimit")).isEmpty() || systemTool(QStringLiteral("unshare")).isEmpty())
        return QStringLiteral("the sandbox needs prlimit and unshare (package util-linux)");
    if (!succeeds(bwrap(), {QStringLiteral("--unshare-user"), QStringLiteral("--unshare-pid"),
                            QStringLiteral("--ro-bind"), QStringLiteral("/"), QStringLiteral("/"),
                            QStringLiteral("true")}))
        return QStringLiteral("bubblewrap cannot make a sandbox here (are user namespaces disabled? "
                              "sysctl user.max_user_namespaces)");
    if (ownNamespacePrefix().isEmpty())
        return QStringLiteral("the sandbox needs a network namespace of its own for each check "
                              "(util-linux unshare, iproute2 ip), which this machine does not allow");
    return {};
#endif
}

QStringList ownNamespacePrefix()
{
    static const QStringList prefix = [] {
        const QString unshare = systemTool(QStringLiteral("unshare"));
        const QString ip = systemTool(QStringLiteral("ip"));
        if (unshare.isEmpty() || ip.isEmpty())
            return QStringList();
        for (const QStringList& how :
             {QStringList{QStringLiteral("-n"), QStringLiteral("-m")},
              QStringList{QStringLiteral("-r"), QStringLiteral("-n"), QStringLiteral("-m")}}) {
            if (succeeds(unshare, how + QStringList{ip, QStringLiteral("link"), QStringLiteral("set"),
                                                    QStringLiteral("lo"), QStringLiteral("up")}))
                return QStringList{unshare} + how +
                       QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                   QStringLiteral("%1 link set lo up && exec \"$0\" \"$@\"").arg(ip)};
        }
        return QStringList();
    }();
    return prefix;
}

QString mountPrivateTmpfs(const QString& directory, qint64 bytes)
{
#ifdef __linux__
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(directory).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0)
        return QStringLiteral("cannot mount a private tmpfs at %1: %2")
            .arg(directory, QString::fromLocal8Bit(std::strerror(errno)));
    return {};
#else
    Q_UNUSED(bytes)
    return QStringLiteral("cannot mount a private tmpfs at %1 here").arg(directory);
#endif
}

#ifdef __linux__
namespace {

// Copies below two open folders, never by a path that a link could redirect.
class TreeCopy
{
public:
    TreeCopy(qint64 limit, Copy& result) : limit(limit), result(result) {}

    bool folder(int from, int to, const QString& prefix, int depth)
    {
        if (depth > 64)
            return fail(QStringLiteral("%1 is nested more than 64 folders deep").arg(prefix));
        const int listing = ::dup(from);
        DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
        if (dir == nullptr)
            return fail(
                QStringLiteral("cannot list %1").arg(prefix.isEmpty() ? QStringLiteral(".") : prefix));
        QList<QByteArray> names;
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        for (const QByteArray& name : std::as_const(names)) {
            if (!entry(from, to, name, prefix + QString::fromUtf8(name), depth))
                return false;
        }
        return true;
    }

private:
    bool fail(const QString& why)
    {
        result.error = why;
        return false;
    }

    bool entry(int from, int to, const QByteArray& name, const QString& path, int depth)
    {
        struct stat info = {};
        if (::fstatat(from, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return fail(QStringLiteral("cannot read %1").arg(path));
        if (++entries > 100000)
            return fail(QStringLiteral("the submission holds more than 100000 files"));
        if (S_ISLNK(info.st_mode)) {
            char target[4096];
            const ssize_t length = ::readlinkat(from, name.constData(), target, sizeof(target) - 1);
            if (length < 0 ||
                ::symlinkat(QByteArray(target, int(length)).constData(), to, name.constData()) != 0)
                return fail(QStringLiteral("cannot copy the link %1").arg(path));
            const QByteArray text(target, int(length));
            result.files.append(QJsonObject{{QStringLiteral("path"), path},
                                            {QStringLiteral("link"), QString::fromUtf8(text)},
                                            {QStringLiteral("sha256"), hash(text)}});
            return true;
        }
        if (S_ISDIR(info.st_mode)) {
            const int source =
                ::openat(from, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (source < 0 || ::mkdirat(to, name.constData(), 0755) != 0) {
                if (source >= 0)
                    ::close(source);
                return fail(QStringLiteral("cannot copy the folder %1").arg(path));
            }
            const int target =
                ::openat(to, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            const bool done = target >= 0 && folder(source, target, path + QLatin1Char('/'), depth + 1);
            ::close(source);
            if (target >= 0)
                ::close(target);
            return done ||
                   fail(result.error.isEmpty() ? QStringLiteral("cannot copy %1").arg(path) : result.error);
        }
        if (!S_ISREG(info.st_mode))
            return true; // pipes, sockets and devices are no part of a submission
        return file(from, to, name, path, (info.st_mode & 0111) ? 0755 : 0644);
    }

    bool file(int from, int to, const QByteArray& name, const QString& path, mode_t mode)
    {
        const int source = ::openat(from, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat info = {};
        if (source < 0 || ::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
            if (source >= 0)
                ::close(source);
            return fail(QStringLiteral("cannot read %1").arg(path));
        }
        const int target =
            ::openat(to, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        QCryptographicHash sha(QCryptographicHash::Sha256);
        bool good = target >= 0;
        char buffer[65536];
        for (ssize_t got; good && (got = ::read(source, buffer, sizeof(buffer))) != 0;) {
            result.bytes += got > 0 ? got : 0;
            if (got < 0 || result.bytes > limit) {
                good = false;
                break;
            }
            sha.addData(buffer, int(got));
            good = ::write(target, buffer, size_t(got)) == got;
        }
        ::close(source);
        if (target >= 0)
            ::close(target);
        if (result.bytes > limit)
            return fail(
                QStringLiteral("the submission holds more than %1 (the disk limit)").arg(sizeText(limit)));
        if (!good)
            return fail(QStringLiteral("cannot copy %1").arg(path));
        result.files.append(
            QJsonObject{{QStringLiteral("path"), path},
                        {QStringLiteral("sha256"), QString::fromLatin1(sha.result().toHex())}});
        return true;
    }

    static QString hash(const QByteArray& data)
    {
        return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
    }

    qint64 limit;
    Copy& result;
    int entries = 0;
};

} // namespace
#endif

Copy copyTree(const QString& from, const QString& to, qint64 limit)
{
    Copy result;
#ifdef __linux__
    const int source = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int target =
        ::open(QFile::encodeName(to).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (source < 0)
        result.error = QStringLiteral("cannot read the submission %1: %2")
                           .arg(from, QString::fromLocal8Bit(std::strerror(errno)));
    else if (target < 0)
        result.error = QStringLiteral("cannot write the copy at %1").arg(to);
    else
        TreeCopy(limit, result).folder(source, target, QString(), 0);
    if (source >= 0)
        ::close(source);
    if (target >= 0)
        ::close(target);
#else
    Q_UNUSED(from)
    Q_UNUSED(to)
    Q_UNUSED(limit)
    result.error = QStringLiteral("the sandbox needs Linux");
#endif
    return result;
}

QStringList environment(int programPort, int peerPort, const QStringList& passed)
{
    const QString language = qEnvironmentVariable("LANG", QStringLiteral("C.UTF-8"));
    QStringList variables = {QStringLiteral("PATH=/usr/local/bin:/usr/bin:/bin"), QStringLiteral("HOME=/tmp"),
                             QStringLiteral("LANG=") + language,
                             QStringLiteral("ZUV_PROGRAM_PORT=%1").arg(programPort),
                             QStringLiteral("ZUV_PEER_PORT=%1").arg(peerPort)};
    for (const QString& name : passed) {
        if (qEnvironmentVariableIsSet(name.toLocal8Bit().constData()))
            variables << name + QLatin1Char('=') + qEnvironmentVariable(name.toLocal8Bit().constData());
    }
    return variables;
}

QStringList command(const QString& shellCommand, const QString& copy, bool writable, const Limits& limits,
                    const QStringList& environment, bool rlimitsOnly, int cpu)
{
    QStringList arguments;
    if (rlimitsOnly && cpu >= 0)
        arguments << systemTool(QStringLiteral("taskset")) << QStringLiteral("-c") << QString::number(cpu);
    arguments << bwrap()
              << QStringList{QStringLiteral("--unshare-user"),
                             QStringLiteral("--unshare-pid"),
                             QStringLiteral("--unshare-ipc"),
                             QStringLiteral("--unshare-uts"),
                             QStringLiteral("--unshare-cgroup-try"),
                             QStringLiteral("--die-with-parent"),
                             QStringLiteral("--new-session"),
                             QStringLiteral("--disable-userns"),
                             QStringLiteral("--cap-drop"),
                             QStringLiteral("ALL"),
                             QStringLiteral("--uid"),
                             QStringLiteral("65534"),
                             QStringLiteral("--gid"),
                             QStringLiteral("65534"),
                             QStringLiteral("--hostname"),
                             QStringLiteral("unit"),
                             QStringLiteral("--ro-bind"),
                             QStringLiteral("/usr"),
                             QStringLiteral("/usr")};
    // The system's programs and libraries: links where the system has them merged into /usr.
    for (const char* top : {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"}) {
        const QFileInfo info{QString::fromLatin1(top)};
        if (info.isSymLink())
            arguments << QStringLiteral("--symlink") << info.symLinkTarget() << info.filePath();
        else if (info.isDir())
            arguments << QStringLiteral("--ro-bind") << info.filePath() << info.filePath();
    }
    // What the dynamic linker, the C library and the interpreters read of /etc.
    QStringList etc = {
        QStringLiteral("ld.so.cache"),  QStringLiteral("ld.so.conf"), QStringLiteral("ld.so.conf.d"),
        QStringLiteral("alternatives"), QStringLiteral("localtime"),  QStringLiteral("nsswitch.conf"),
        QStringLiteral("hosts"),        QStringLiteral("host.conf"),  QStringLiteral("gai.conf"),
        QStringLiteral("passwd"),       QStringLiteral("group"),      QStringLiteral("os-release")};
    etc += QDir(QStringLiteral("/etc"))
               .entryList({QStringLiteral("python3*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : std::as_const(etc))
        arguments << QStringLiteral("--ro-bind-try") << QStringLiteral("/etc/") + name
                  << QStringLiteral("/etc/") + name;
    arguments << QStringLiteral("--proc") << QStringLiteral("/proc") << QStringLiteral("--dev")
              << QStringLiteral("/dev") << QStringLiteral("--size") << QString::number(limits.disk)
              << QStringLiteral("--perms") << QStringLiteral("1777") << QStringLiteral("--tmpfs")
              << QStringLiteral("/tmp") << (writable ? QStringLiteral("--bind") : QStringLiteral("--ro-bind"))
              << copy << QLatin1String(submissionPath) << QStringLiteral("--chdir")
              << QLatin1String(submissionPath) << QStringLiteral("--clearenv");
    for (const QString& variable : environment)
        arguments << QStringLiteral("--setenv") << variable.section(QLatin1Char('='), 0, 0)
                  << variable.section(QLatin1Char('='), 1);
    arguments << QStringLiteral("--") << systemTool(QStringLiteral("prlimit")) << QStringLiteral("--core=0")
              << QStringLiteral("--fsize=%1").arg(limits.fileSize)
              << QStringLiteral("--nofile=%1").arg(limits.openFiles);
    if (rlimitsOnly)
        arguments << QStringLiteral("--as=%1").arg(limits.memory)
                  << QStringLiteral("--nproc=%1").arg(limits.processes);
    arguments << QStringLiteral("--") << QStringLiteral("/bin/sh") << QStringLiteral("-c") << shellCommand;
    return arguments;
}

} // namespace Check::Sandbox
