#pragma once

#include <QString>
#include <QStringList>

#include <yaml-cpp/yaml.h>

#include <initializer_list>
#include <random>

// Reading the project's YAML files (scenarios, fault files) with positions in every message:
// "FILE:LINE:COLUMN: what was wrong, what would be right", lines and columns counted from 1.
// Each reading function reports what it refuses and returns false; the reader collects every
// message, so that a file's faults are all told at once.
class YamlReader
{
public:
    explicit YamlReader(QString file) : fileName(std::move(file)) {}

    // Parses `text`; a syntax error is reported. Returns a null node then.
    YAML::Node parse(const QByteArray& text);
    // Reads and parses the file itself; a file that cannot be read is reported.
    YAML::Node load();

    const QString& file() const { return fileName; }
    bool ok() const { return errors.isEmpty(); }
    const QStringList& messages() const { return errors; }

    // Reports `message` at `at`'s position (at the start of the file for a null node).
    void fail(const YAML::Node& at, const QString& message);

    // Refuses every key of the map `map` that is not in `allowed`, suggesting the nearest one.
    bool onlyKeys(const YAML::Node& map, std::initializer_list<const char*> allowed, const QString& what);
    // Refuses a node that is not a map / a sequence / a scalar.
    bool isMap(const YAML::Node& node, const QString& what);
    bool isSequence(const YAML::Node& node, const QString& what);
    bool isScalar(const YAML::Node& node, const QString& what);

    bool text(const YAML::Node& node, QString& value, const QString& what);
    bool integer(const YAML::Node& node, long long& value, long long minimum, long long maximum,
                 const QString& what);
    // "500ms", "2s", "1.5s": microseconds, 0 or more (above 0 unless `zeroAllowed`).
    bool duration(const YAML::Node& node, qint64& micros, const QString& what, bool zeroAllowed = false);
    // "1.5Hz": above 0.
    bool frequency(const YAML::Node& node, double& hertz, const QString& what);
    // "10%": 0 to 100 percent, as a fraction 0 to 1.
    bool percentage(const YAML::Node& node, double& fraction, const QString& what);

    // The index of the state value that `node` names; an unknown name is refused with the nearest
    // one ("did you mean ...").
    int valueName(const YAML::Node& node);
    // A value for the state value `index`: a whole number (32 bits) for an integer value, true or
    // false for a truth value, or {random: [lo, hi]} drawn from `random`. Truth values as 0/1.
    bool stateValue(const YAML::Node& node, int index, int& value, std::mt19937_64* random);

    // The candidate nearest to `text` (by edit distance, case ignored), or empty when none is near.
    static QString nearest(const QString& text, const QStringList& candidates);

private:
    QString fileName;
    QStringList errors;
};
