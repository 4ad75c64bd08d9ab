#include "check/Scenario.h"

#include "YamlReading.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <random>

namespace Check {

namespace {

constexpr Micros defaultWithin = 1'000'000;
constexpr Micros defaultPress = 100'000;

QString scalarOf(const YAML::Node& node)
{
    return QString::fromStdString(node.Scalar());
}

QString seconds(Micros micros)
{
    if (micros % 1'000'000 == 0)
        return QStringLiteral("%1 s").arg(micros / 1'000'000);
    if (micros % 1000 == 0)
        return QStringLiteral("%1 ms").arg(micros / 1000);
    return QStringLiteral("%1 s").arg(double(micros) / 1e6);
}

// What a step or the defaults say of `within` and `tolerance`.
struct Defaults
{
    Micros within = defaultWithin;
    Tolerance tolerance;
    double dutyTolerance = 0.05;
};

class ScenarioParser
{
public:
    ScenarioParser(YamlReader& reader, quint64 seed) : reader(reader), random(seed) {}

    bool parse(const YAML::Node& root, Scenario& scenario);

private:
    bool values(const YAML::Node& node, Values& out, const QString& what, bool truthOnly = false);
    bool tolerance(const YAML::Node& node, Tolerance& out, const QString& unit, const QString& what);
    bool steps(const YAML::Node& node, Scenario& scenario);
    bool step(const YAML::Node& node, Step& step);
    bool monitors(const YAML::Node& node, Scenario& scenario);
    bool points(const YAML::Node& node, int& out);
    bool withinTimeout(const YAML::Node& node, Micros value, const QString& what);

    YamlReader& reader;
    std::mt19937_64 random;
    Defaults defaults;
    int scenarioPoints = 1;
    Micros timeout = 60'000'000;
};

bool ScenarioParser::points(const YAML::Node& node, int& out)
{
    long long value = 0;
    if (!reader.integer(node, value, 0, 1000, QStringLiteral("points")))
        return false;
    out = static_cast<int>(value);
    return true;
}

bool ScenarioParser::withinTimeout(const YAML::Node& node, Micros value, const QString& what)
{
    if (value <= timeout)
        return true;
    reader.fail(node, QStringLiteral("%1 (%2) is longer than the scenario's timeout (%3)")
                          .arg(what, seconds(value), seconds(timeout)));
    return false;
}

bool ScenarioParser::values(const YAML::Node& node, Values& out, const QString& what, bool truthOnly)
{
    if (!reader.isMap(node, what))
        return false;
    if (node.size() == 0) {
        reader.fail(node,
                    QStringLiteral("%1 needs at least one value, such as {cockpitIgnition: 1}").arg(what));
        return false;
    }
    bool good = true;
    out.clear();
    for (auto entry = node.begin(); entry != node.end(); ++entry) {
        const int index = reader.valueName(entry->first);
        if (index < 0) {
            good = false;
            continue;
        }
        if (truthOnly && StateValues::table[index].kind != StateValues::Kind::Bool) {
            reader.fail(entry->first, QStringLiteral("%1 takes truth values only; %2 is a whole number")
                                          .arg(what, QLatin1String(StateValues::table[index].name)));
            good = false;
            continue;
        }
        int value = 0;
        if (!reader.stateValue(entry->second, index, value, &random)) {
            good = false;
            continue;
        }
        const auto same =
            std::find_if(out.begin(), out.end(), [index](const auto& a) { return a.index == index; });
        if (same != out.end()) {
            reader.fail(
                entry->first,
                QStringLiteral("%1 is given twice").arg(QLatin1String(StateValues::table[index].name)));
            good = false;
            continue;
        }
        out.push_back({index, value});
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.index < b.index; });
    return good;
}

bool ScenarioParser::tolerance(const YAML::Node& node, Tolerance& out, const QString& unit,
                               const QString& what)
{
    if (!reader.isScalar(node, what))
        return false;
    const QString text = scalarOf(node).trimmed();
    if (text.endsWith(QLatin1Char('%'))) {
        double fraction = 0;
        if (!reader.percentage(node, fraction, what))
            return false;
        out = {fraction, true};
        return true;
    }
    static const QRegularExpression absolute(QStringLiteral("^([0-9]+(?:\\.[0-9]+)?)\\s*(\\S+)$"));
    const QRegularExpressionMatch match = absolute.match(text);
    if (!match.hasMatch() || match.captured(2) != unit) {
        reader.fail(node,
                    QStringLiteral("%1 must be a percentage such as 5% or an amount such as 0.1%2, not '%3'")
                        .arg(what, unit, text));
        return false;
    }
    out = {match.captured(1).toDouble(), false};
    return true;
}

bool ScenarioParser::parse(const YAML::Node& root, Scenario& scenario)
{
    if (!reader.isMap(root, QStringLiteral("a scenario file")))
        return false;
    bool good =
        reader.onlyKeys(root, {"scenario", "points", "timeout", "defaults", "setup", "steps", "monitors"},
                        QStringLiteral("a scenario"));
    if (!root["scenario"]) {
        reader.fail(root,
                    QStringLiteral("a scenario needs its name: scenario: Low beam follows the light switch"));
        return false;
    }
    good &= reader.text(root["scenario"], scenario.name, QStringLiteral("scenario"));
    if (root["points"])
        good &= points(root["points"], scenarioPoints);
    if (root["timeout"])
        good &= reader.duration(root["timeout"], timeout, QStringLiteral("timeout"));
    scenario.timeout = timeout;
    if (const YAML::Node given = root["defaults"]) {
        if (reader.isMap(given, QStringLiteral("defaults")) &&
            reader.onlyKeys(given, {"within", "tolerance", "duty-tolerance"}, QStringLiteral("defaults"))) {
            if (given["within"])
                good &= reader.duration(given["within"], defaults.within, QStringLiteral("within")) &&
                        withinTimeout(given["within"], defaults.within, QStringLiteral("within"));
            if (given["tolerance"]) {
                double fraction = 0;
                good &= reader.percentage(given["tolerance"], fraction, QStringLiteral("tolerance"));
                defaults.tolerance = {fraction, true};
            }
            if (given["duty-tolerance"])
                good &= reader.percentage(given["duty-tolerance"], defaults.dutyTolerance,
                                          QStringLiteral("duty-tolerance"));
        } else {
            good = false;
        }
    }
    if (root["setup"])
        good &= values(root["setup"], scenario.setup, QStringLiteral("setup"));
    if (!root["steps"]) {
        reader.fail(root,
                    QStringLiteral("a scenario needs its steps: steps: [- set: {...}, - expect: {...}]"));
        return false;
    }
    good &= steps(root["steps"], scenario);
    if (root["monitors"])
        good &= monitors(root["monitors"], scenario);
    return good;
}

bool ScenarioParser::steps(const YAML::Node& node, Scenario& scenario)
{
    if (!reader.isSequence(node, QStringLiteral("steps")))
        return false;
    if (node.size() == 0) {
        reader.fail(node, QStringLiteral("steps needs at least one step"));
        return false;
    }
    bool good = true;
    for (const YAML::Node& item : node) {
        Step parsed;
        parsed.points = scenarioPoints;
        if (step(item, parsed))
            scenario.steps.push_back(parsed);
        else
            good = false;
    }
    return good;
}

bool ScenarioParser::step(const YAML::Node& node, Step& step)
{
    static const QStringList kinds = {"set", "expect", "hold", "press", "wait", "blinks", "wiper", "link"};
    if (!reader.isMap(node, QStringLiteral("a step")))
        return false;
    step.line = node.Mark().line + 1;
    QString kind;
    YAML::Node body;
    for (auto entry = node.begin(); entry != node.end(); ++entry) {
        const QString key = scalarOf(entry->first);
        if (kinds.contains(key)) {
            if (!kind.isEmpty()) {
                reader.fail(
                    entry->first,
                    QStringLiteral("a step does one thing: '%1' and '%2' are two steps").arg(kind, key));
                return false;
            }
            kind = key;
            body = entry->second;
        }
    }
    if (kind.isEmpty()) {
        QString first = node.begin() != node.end() ? scalarOf(node.begin()->first) : QString();
        const QString near = YamlReader::nearest(first, kinds);
        reader.fail(node,
                    QStringLiteral("a step must be one of %1%2")
                        .arg(kinds.join(QStringLiteral(", ")),
                             near.isEmpty() ? QString() : QStringLiteral("; did you mean '%1'?").arg(near)));
        return false;
    }

    bool good = true;
    const auto optionalPoints = [&] {
        if (node["points"])
            good &= points(node["points"], step.points);
    };
    const auto title = [&](const QString& fallback) {
        if (node["title"])
            good &= reader.text(node["title"], step.title, QStringLiteral("title"));
        else
            step.title = fallback;
    };
    const auto required = [&](const char* key, const QString& example) {
        if (node[key])
            return true;
        reader.fail(node, QStringLiteral("%1 needs '%2', such as %3").arg(kind, QLatin1String(key), example));
        good = false;
        return false;
    };
    const auto within = [&] {
        step.within = defaults.within;
        if (node["within"])
            good &= reader.duration(node["within"], step.within, QStringLiteral("within")) &&
                    withinTimeout(node["within"], step.within, QStringLiteral("within"));
    };
    const auto forDuration = [&](bool needed, Micros fallback) {
        step.duration = fallback;
        if (!node["for"]) {
            if (needed)
                required("for", QStringLiteral("for: 2s"));
            return;
        }
        good &= reader.duration(node["for"], step.duration, QStringLiteral("for")) &&
                withinTimeout(node["for"], step.duration, QStringLiteral("for"));
    };

    if (kind == QLatin1String("set")) {
        step.kind = Step::Kind::Set;
        good &= reader.onlyKeys(node, {"set"}, QStringLiteral("a set step"));
        good &= values(body, step.values, QStringLiteral("set"));
        step.title = QStringLiteral("set ") + describe(step.values);
    } else if (kind == QLatin1String("expect") || kind == QLatin1String("hold")) {
        const bool expect = kind == QLatin1String("expect");
        step.kind = expect ? Step::Kind::Expect : Step::Kind::Hold;
        good &=
            expect ? reader.onlyKeys(node, {"expect", "within", "points", "title"},
                                     QStringLiteral("an expect step"))
                   : reader.onlyKeys(node, {"hold", "for", "points", "title"}, QStringLiteral("a hold step"));
        good &= values(body, step.values, kind);
        if (expect)
            within();
        else
            forDuration(true, 0);
        optionalPoints();
        title(kind + QLatin1Char(' ') + describe(step.values) +
              (expect ? QString() : QStringLiteral(" for ") + seconds(step.duration)));
    } else if (kind == QLatin1String("press")) {
        step.kind = Step::Kind::Press;
        good &= reader.onlyKeys(node, {"press", "for"}, QStringLiteral("a press step"));
        step.value = reader.valueName(body);
        if (step.value >= 0 && StateValues::table[step.value].kind != StateValues::Kind::Bool) {
            reader.fail(body,
                        QStringLiteral("press is for truth values (buttons); %1 is a whole number: use set")
                            .arg(QLatin1String(StateValues::table[step.value].name)));
            good = false;
        }
        good &= step.value >= 0;
        forDuration(false, defaultPress);
        step.title = QStringLiteral("press ") + scalarOf(body);
    } else if (kind == QLatin1String("wait")) {
        step.kind = Step::Kind::Wait;
        good &= reader.onlyKeys(node, {"wait"}, QStringLiteral("a wait step"));
        good &= reader.duration(body, step.duration, QStringLiteral("wait")) &&
                withinTimeout(body, step.duration, QStringLiteral("wait"));
        step.title = QStringLiteral("wait ") + seconds(step.duration);
    } else if (kind == QLatin1String("blinks")) {
        step.kind = Step::Kind::Blinks;
        good &= reader.onlyKeys(
            node, {"blinks", "frequency", "duty", "for", "tolerance", "duty-tolerance", "points", "title"},
            QStringLiteral("a blinks step"));
        step.value = reader.valueName(body);
        if (step.value >= 0 && StateValues::table[step.value].kind != StateValues::Kind::Bool) {
            reader.fail(body, QStringLiteral("blinks is for truth values (lamps); %1 is a whole number")
                                  .arg(QLatin1String(StateValues::table[step.value].name)));
            good = false;
        }
        good &= step.value >= 0;
        if (required("frequency", QStringLiteral("frequency: 1.5Hz")))
            good &= reader.frequency(node["frequency"], step.frequency, QStringLiteral("frequency"));
        if (node["duty"]) {
            good &= reader.percentage(node["duty"], step.duty, QStringLiteral("duty"));
        }
        forDuration(true, 0);
        step.frequencyTolerance = defaults.tolerance;
        if (node["tolerance"])
            good &= tolerance(node["tolerance"], step.frequencyTolerance, QStringLiteral("Hz"),
                              QStringLiteral("tolerance"));
        step.dutyTolerance = defaults.dutyTolerance;
        if (node["duty-tolerance"])
            good &= reader.percentage(node["duty-tolerance"], step.dutyTolerance,
                                      QStringLiteral("duty-tolerance"));
        // The first edge may come up to half a period after the start; two whole periods follow.
        if (good && step.frequency * double(step.duration) / 1e6 < 2.5) {
            reader.fail(node["for"],
                        QStringLiteral("blinks for %1 at %2 Hz cannot fit two whole periods after the "
                                       "first edge: make 'for' at least %3")
                            .arg(seconds(step.duration))
                            .arg(step.frequency)
                            .arg(seconds(Micros(std::ceil(2.5e6 / step.frequency / 1000.0)) * 1000)));
            good = false;
        }
        optionalPoints();
        title(QStringLiteral("blinks ") + scalarOf(body));
    } else if (kind == QLatin1String("link")) {
        step.kind = Step::Kind::Link;
        good &= reader.onlyKeys(node, {"link"}, QStringLiteral("a link step"));
        if (body.IsScalar() && scalarOf(body) == QLatin1String("normal")) {
            step.title = QStringLiteral("link normal");
        } else {
            good &= readLinkFaults(reader, body, step.link);
            step.linkSeeded = bool(body["seed"]);
            step.title = QStringLiteral("link faults");
        }
    } else if (kind == QLatin1String("wiper")) {
        step.kind = Step::Kind::Wiper;
        good &= reader.onlyKeys(node, {"wiper", "rate", "parked", "within", "tolerance", "points", "title"},
                                QStringLiteral("a wiper step"));
        if (reader.isMap(body, QStringLiteral("wiper")) &&
            reader.onlyKeys(body, {"moves"}, QStringLiteral("wiper"))) {
            if (!body["moves"]) {
                reader.fail(body, QStringLiteral("wiper needs its moves, such as {moves: [+16, -16]}"));
                good = false;
            } else if (reader.isSequence(body["moves"], QStringLiteral("moves"))) {
                for (const YAML::Node& move : body["moves"]) {
                    long long steps = 0;
                    if (!reader.integer(move, steps, -10000, 10000, QStringLiteral("a move")) || steps == 0) {
                        if (steps == 0 && move.IsScalar())
                            reader.fail(
                                move,
                                QStringLiteral("a move is a number of steps, + clockwise or - back, not 0"));
                        good = false;
                    } else if (!step.moves.empty() && (step.moves.back() > 0) == (steps > 0)) {
                        reader.fail(move,
                                    QStringLiteral("two moves in the same direction in a row are one move: "
                                                   "write their sum"));
                        good = false;
                    } else {
                        step.moves.push_back(static_cast<int>(steps));
                    }
                }
                if (step.moves.empty() && good) {
                    reader.fail(body["moves"], QStringLiteral("moves needs at least one move"));
                    good = false;
                }
            } else {
                good = false;
            }
        } else {
            good = false;
        }
        if (node["rate"]) {
            static const QRegularExpression rate(QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]+)?)\\s*/s\\s*$"));
            const QRegularExpressionMatch match = rate.match(scalarOf(node["rate"]));
            step.rate = match.hasMatch() ? match.captured(1).toDouble() : 0;
            if (!(step.rate > 0)) {
                reader.fail(node["rate"],
                            QStringLiteral("rate must be steps per second, such as 24/s, not '%1'")
                                .arg(scalarOf(node["rate"])));
                good = false;
            }
        }
        if (node["parked"]) {
            const QString parked = scalarOf(node["parked"]);
            if (parked != QLatin1String("true") && parked != QLatin1String("false")) {
                reader.fail(node["parked"],
                            QStringLiteral("parked takes true or false, not '%1'").arg(parked));
                good = false;
            }
            step.parked = parked == QLatin1String("true");
        }
        within();
        step.rateTolerance = defaults.tolerance;
        if (node["tolerance"])
            good &= tolerance(node["tolerance"], step.rateTolerance, QStringLiteral("/s"),
                              QStringLiteral("tolerance"));
        optionalPoints();
        title(QStringLiteral("wiper ") + describeMoves(step.moves) +
              (step.parked ? QStringLiteral(", parked") : QString()));
    }
    return good;
}

bool ScenarioParser::monitors(const YAML::Node& node, Scenario& scenario)
{
    if (!reader.isSequence(node, QStringLiteral("monitors")))
        return false;
    bool good = true;
    for (const YAML::Node& item : node) {
        if (!reader.isMap(item, QStringLiteral("a monitor"))) {
            good = false;
            continue;
        }
        Monitor monitor;
        monitor.points = scenarioPoints;
        monitor.line = item.Mark().line + 1;
        const bool never = bool(item["never"]);
        if (never == bool(item["always"])) {
            reader.fail(item, QStringLiteral("a monitor is either never: {...} or always: {...}"));
            good = false;
            continue;
        }
        monitor.never = never;
        const QString kind = never ? QStringLiteral("never") : QStringLiteral("always");
        good &= reader.onlyKeys(item, {never ? "never" : "always", "points", "title"},
                                QStringLiteral("a monitor"));
        good &= values(item[never ? "never" : "always"], monitor.values, kind);
        if (item["points"])
            good &= points(item["points"], monitor.points);
        if (item["title"])
            good &= reader.text(item["title"], monitor.title, QStringLiteral("title"));
        else
            monitor.title = kind + QLatin1Char(' ') + describe(monitor.values);
        scenario.monitors.push_back(monitor);
    }
    return good;
}

quint64 streamOf(quint64 seed, const QString& file)
{
    const QByteArray hash =
        QCryptographicHash::hash(QFileInfo(file).fileName().toUtf8(), QCryptographicHash::Sha256).left(8);
    quint64 mixed = seed;
    for (const char byte : hash)
        mixed = (mixed << 8 | (mixed >> 56)) ^ static_cast<unsigned char>(byte);
    return mixed;
}

} // namespace

int Scenario::maxPoints() const
{
    int sum = 0;
    for (const Step& step : steps)
        sum += step.isCheck() ? step.points : 0;
    for (const Monitor& monitor : monitors)
        sum += monitor.points;
    return sum;
}

QString describe(const Values& values)
{
    QStringList parts;
    for (const StateValues::Assignment& assignment : values) {
        const StateValues::Value& value = StateValues::table[assignment.index];
        parts << QLatin1String(value.name) + QLatin1Char('=') +
                     (value.kind == StateValues::Kind::Bool
                          ? QLatin1String(assignment.value ? "true" : "false")
                          : QString::number(assignment.value));
    }
    return parts.join(QLatin1Char(' '));
}

QString describeMoves(const std::vector<int>& moves)
{
    QStringList parts;
    for (const int move : moves)
        parts << (move > 0 ? QStringLiteral("+%1").arg(move) : QString::number(move));
    return parts.join(QLatin1Char(' '));
}

Loaded parseScenario(const QString& file, const QByteArray& text, quint64 seed)
{
    Loaded loaded;
    YamlReader reader(file);
    const YAML::Node root = reader.parse(text);
    Scenario scenario;
    scenario.file = file;
    if (reader.ok()) {
        ScenarioParser parser(reader, streamOf(seed, file));
        if (!parser.parse(root, scenario) && reader.ok())
            reader.fail(root, QStringLiteral("not a scenario"));
    }
    if (reader.ok())
        loaded.scenarios.push_back(scenario);
    loaded.errors = reader.messages();
    return loaded;
}

Loaded loadScenarios(const QStringList& paths, quint64 seed)
{
    Loaded loaded;
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const QDir directory(path);
            const QStringList names =
                directory.entryList({QStringLiteral("*.yaml")}, QDir::Files, QDir::Name);
            if (names.isEmpty())
                loaded.errors << QStringLiteral("%1: holds no *.yaml scenario").arg(path);
            for (const QString& name : names)
                files << directory.filePath(name);
        } else {
            files << path;
        }
    }
    QStringList names;
    for (const QString& file : files) {
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly)) {
            loaded.errors << QStringLiteral("%1: cannot read it: %2").arg(file, source.errorString());
            continue;
        }
        const Loaded one = parseScenario(file, source.readAll(), seed);
        loaded.errors << one.errors;
        for (const Scenario& scenario : one.scenarios) {
            if (names.contains(scenario.name))
                loaded.errors << QStringLiteral(
                                     "%1:1:1: another scenario is named '%2' already: names must differ")
                                     .arg(file, scenario.name);
            names << scenario.name;
            loaded.scenarios.push_back(scenario);
        }
    }
    return loaded;
}

} // namespace Check
