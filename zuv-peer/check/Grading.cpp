#include "check/Grading.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <map>
#include <set>

namespace Check::Grading {

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList strings(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list << item.toString();
    return list;
}

} // namespace

QJsonObject Manifest::toJson() const
{
    QJsonArray scenarioList;
    for (const ScenarioEntry& scenario : scenarios)
        scenarioList.append(QJsonObject{{"name", scenario.name},
                                        {"file", scenario.file},
                                        {"sha256", scenario.sha256},
                                        {"max_points", scenario.maxPoints}});
    return {{"shard", QStringLiteral("%1/%2").arg(shard).arg(of)},
            {"given", QJsonArray::fromStringList(given)},
            {"graded", QJsonArray::fromStringList(graded)},
            {"scenarios", scenarioList},
            {"version", version}};
}

Manifest Manifest::fromJson(const QJsonObject& object, QString& error)
{
    Manifest manifest;
    if (!parseShard(object.value("shard").toString(), manifest.shard, manifest.of) ||
        !object.value("given").isArray() || !object.value("graded").isArray() ||
        !object.value("scenarios").isArray()) {
        error = QStringLiteral("not a manifest of zuv-peer grade");
        return manifest;
    }
    manifest.given = strings(object.value("given"));
    manifest.graded = strings(object.value("graded"));
    manifest.version = object.value("version").toString();
    for (const QJsonValue& value : object.value("scenarios").toArray()) {
        const QJsonObject scenario = value.toObject();
        manifest.scenarios.push_back({scenario.value("name").toString(), scenario.value("file").toString(),
                                      scenario.value("sha256").toString(),
                                      scenario.value("max_points").toInt()});
    }
    return manifest;
}

bool parseShard(const QString& text, int& shard, int& of)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,4})/([0-9]{1,4})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    shard = match.captured(1).toInt();
    of = match.captured(2).toInt();
    return shard >= 1 && shard <= of;
}

std::vector<int> shardOf(int count, int shard, int of)
{
    std::vector<int> indexes;
    for (int index = shard - 1; index < count; index += of)
        indexes.push_back(index);
    return indexes;
}

QString csv(const std::vector<ScenarioEntry>& scenarios,
            const std::vector<std::pair<QString, QString>>& folders)
{
    QStringList header = {QStringLiteral("submission")};
    int maximum = 0;
    for (const ScenarioEntry& scenario : scenarios) {
        header << csvField(scenario.name);
        maximum += scenario.maxPoints;
    }
    header << QStringLiteral("total") << QStringLiteral("max");
    QString text = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const auto& [name, folder] : folders) {
        std::map<QString, int> points;
        QFile report(QDir(folder).filePath(QStringLiteral("report.json")));
        if (report.open(QIODevice::ReadOnly)) {
            const QJsonArray reports =
                QJsonDocument::fromJson(report.readAll()).object().value("scenarios").toArray();
            for (const QJsonValue& scenario : reports)
                points[scenario.toObject().value("name").toString()] =
                    scenario.toObject().value("points").toInt();
        }
        QStringList line = {csvField(name)};
        int total = 0;
        for (const ScenarioEntry& scenario : scenarios) {
            const int got = points.count(scenario.name) ? points[scenario.name] : 0;
            total += got;
            line << QString::number(got);
        }
        line << QString::number(total) << QString::number(maximum);
        text += line.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

QString merge(const QStringList& shardFolders, QString& error)
{
    std::vector<Manifest> shards;
    for (const QString& folder : shardFolders) {
        QFile file(QDir(folder).filePath(QStringLiteral("manifest.json")));
        if (!file.open(QIODevice::ReadOnly)) {
            error =
                QStringLiteral("%1 holds no manifest.json: is it the OUT of a zuv-peer grade?").arg(folder);
            return {};
        }
        shards.push_back(Manifest::fromJson(QJsonDocument::fromJson(file.readAll()).object(), error));
        if (!error.isEmpty()) {
            error = file.fileName() + QStringLiteral(": ") + error;
            return {};
        }
    }
    if (shards.empty()) {
        error = QStringLiteral("--merge needs the OUT folders of the shards");
        return {};
    }
    const Manifest& first = shards.front();
    std::map<int, QString> seen;
    const auto scenariosOf = [](const Manifest& manifest) {
        QStringList keys;
        for (const ScenarioEntry& scenario : manifest.scenarios)
            keys << scenario.name + QLatin1Char('\n') + scenario.sha256;
        return keys;
    };
    for (std::size_t index = 0; index < shards.size(); ++index) {
        const Manifest& shard = shards[index];
        const QString& folder = shardFolders.at(int(index));
        if (shard.of != first.of)
            error = QStringLiteral("%1 is shard %2/%3, %4 one of %5")
                        .arg(folder)
                        .arg(shard.shard)
                        .arg(shard.of)
                        .arg(shardFolders.first())
                        .arg(first.of);
        else if (seen.count(shard.shard))
            error = QStringLiteral("%1 and %2 are both shard %3/%4")
                        .arg(seen[shard.shard], folder)
                        .arg(shard.shard)
                        .arg(shard.of);
        else if (shard.version != first.version)
            error = QStringLiteral("%1 was graded by zuv-peer %2, %3 by %4")
                        .arg(folder, shard.version, shardFolders.first(), first.version);
        else if (scenariosOf(shard) != scenariosOf(first))
            error =
                QStringLiteral("%1 was graded on other scenarios than %2").arg(folder, shardFolders.first());
        else if (shard.given != first.given)
            error =
                QStringLiteral("%1 was given other submissions than %2").arg(folder, shardFolders.first());
        if (!error.isEmpty())
            return {};
        seen[shard.shard] = folder;
    }
    for (int shard = 1; shard <= first.of; ++shard) {
        if (!seen.count(shard)) {
            error = QStringLiteral("shard %1/%2 is missing").arg(shard).arg(first.of);
            return {};
        }
    }
    std::map<QString, QString> folderOf;
    for (std::size_t index = 0; index < shards.size(); ++index) {
        for (const QString& name : shards[index].graded) {
            if (folderOf.count(name)) {
                error = QStringLiteral("%1 was graded twice: in %2 and %3")
                            .arg(name, folderOf[name], shardFolders.at(int(index)));
                return {};
            }
            folderOf[name] = shardFolders.at(int(index));
        }
    }
    std::vector<std::pair<QString, QString>> folders;
    for (const QString& name : first.given) {
        if (!folderOf.count(name)) {
            error = QStringLiteral("the submission %1 was graded by no shard").arg(name);
            return {};
        }
        folders.emplace_back(name, QDir(folderOf[name]).filePath(name));
    }
    return csv(first.scenarios, folders);
}

} // namespace Check::Grading
