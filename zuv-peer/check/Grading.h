#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

// Grading a class: which submissions a shard grades, the manifest that says what it graded, the
// merge of the shards, and grades.csv.
namespace Check::Grading {

struct ScenarioEntry
{
    QString name;
    QString file;   // its file name
    QString sha256; // of its contents
    int maxPoints = 0;
};

// What one grading run (one shard, or the whole class) was given and graded, in OUT/manifest.json.
struct Manifest
{
    int shard = 1; // K of N
    int of = 1;
    QStringList given;  // every submission's name, in grading order
    QStringList graded; // those this run graded
    std::vector<ScenarioEntry> scenarios;
    QString version;

    QJsonObject toJson() const;
    // Reads a manifest; `error` tells what is wrong with it.
    static Manifest fromJson(const QJsonObject& object, QString& error);
};

// "K/N" into shard and of; false when it is none (1 <= K <= N).
bool parseShard(const QString& text, int& shard, int& of);
// The indexes of `count` submissions (in grading order) that shard K of N grades: every N-th.
std::vector<int> shardOf(int count, int shard, int of);

// grades.csv: a header of the scenarios' names, then per submission the points of each scenario
// (from OUT/NAME/report.json; 0 where there is none), the total and the maximum. `folders` holds
// each submission's report folder, by name.
QString csv(const std::vector<ScenarioEntry>& scenarios,
            const std::vector<std::pair<QString, QString>>& folders);

// One grades.csv from the folders of every shard of one grading: refuses a missing or doubled
// shard, a missing or doubled submission, a different scenario set or a different version.
// Returns the text of grades.csv; `error` tells why there is none.
QString merge(const QStringList& shardFolders, QString& error);

} // namespace Check::Grading
