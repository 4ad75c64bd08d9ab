#include "check/sandbox/SubmissionCopy.h"

#include "check/sandbox/Sandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace Check {

SubmissionCopy::~SubmissionCopy()
{
    if (mountPoint.isEmpty())
        return;
#ifdef __linux__
    ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
#endif
    QDir().rmdir(mountPoint);
}

QString SubmissionCopy::make(const QString& submission, const Limits& limits)
{
    if (!QFileInfo(submission).isDir())
        return QStringLiteral("the submission %1 is not a folder").arg(submission);
    QTemporaryDir where(QDir::tempPath() + QStringLiteral("/zuv-submission-XXXXXX"));
    if (!where.isValid())
        return QStringLiteral("cannot make a folder for the submission's copy: %1").arg(where.errorString());
    where.setAutoRemove(false);
    mountPoint = where.path();
    const QString failure = Sandbox::mountPrivateTmpfs(mountPoint, limits.disk);
    if (!failure.isEmpty()) {
        QDir().rmdir(mountPoint);
        mountPoint.clear();
        return failure;
    }
    folder = mountPoint + QStringLiteral("/submission");
    if (!QDir().mkdir(folder))
        return QStringLiteral("cannot make %1").arg(folder);
    const Sandbox::Copy copy = Sandbox::copyTree(submission, folder, limits.disk);
    list = copy.files;
    return copy.error;
}

} // namespace Check
