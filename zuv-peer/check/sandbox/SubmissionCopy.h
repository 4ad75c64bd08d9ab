#pragma once

#include "check/sandbox/Limits.h"

#include <QJsonArray>
#include <QString>

namespace Check {

// The private copy of a submission that its boxed unit sees at /submission: on a tmpfs of its own,
// bounded by the disk limit (so --prepare cannot fill the machine's disk), made by this trusted
// side without following any link, with the SHA-256 of everything it holds. It goes with this
// object (and with the check's mount namespace, should the check be killed).
class SubmissionCopy
{
public:
    SubmissionCopy() = default;
    ~SubmissionCopy();
    SubmissionCopy(const SubmissionCopy&) = delete;
    SubmissionCopy& operator=(const SubmissionCopy&) = delete;

    // Copies the folder `submission`. Returns an empty text, or what went wrong.
    QString make(const QString& submission, const Limits& limits);
    // The copy's folder, to be mounted at /submission.
    QString path() const { return folder; }
    // [{"path", "sha256"}], sorted by path.
    const QJsonArray& files() const { return list; }

private:
    QString mountPoint;
    QString folder;
    QJsonArray list;
};

} // namespace Check
