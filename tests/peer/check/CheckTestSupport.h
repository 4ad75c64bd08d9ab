#pragma once

// What the checker's end-to-end tests share: zuv-peer as a process, and the files it reads and
// writes. The tests run in a network namespace of their own, so the checker has the program's port.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString peer = QStringLiteral(ZUV_PEER_EXECUTABLE);
const QString scenarios = QStringLiteral(ZUV_SCENARIOS);

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(peer, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString write(const QTemporaryDir& directory, const QString& name, const QByteArray& text)
{
    const QString path = directory.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString startPeer(const QString& more = {})
{
    return peer + QStringLiteral(" --quiet ") + more;
}

} // namespace
