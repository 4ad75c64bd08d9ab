#include "YamlReading.h"

#include "StateValues.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

QString scalarOf(const YAML::Node& node)
{
    return QString::fromStdString(node.Scalar());
}

int editDistance(const QString& a, const QString& b)
{
    std::vector<int> row(static_cast<std::size_t>(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[static_cast<std::size_t>(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[static_cast<std::size_t>(j)];
            const int cost = a.at(i - 1).toLower() == b.at(j - 1).toLower() ? 0 : 1;
            row[static_cast<std::size_t>(j)] =
                std::min({above + 1, row[static_cast<std::size_t>(j) - 1] + 1, diagonal + cost});
            diagonal = above;
        }
    }
    return row.back();
}

QStringList valueNames()
{
    QStringList names;
    for (const StateValues::Value& value : StateValues::table)
        names << QLatin1String(value.name);
    return names;
}

} // namespace

YAML::Node YamlReader::parse(const QByteArray& text)
{
    try {
        return YAML::Load(text.toStdString());
    } catch (const YAML::ParserException& error) {
        errors << QStringLiteral("%1:%2:%3: not valid YAML: %4")
                      .arg(fileName)
                      .arg(error.mark.line + 1)
                      .arg(error.mark.column + 1)
                      .arg(QString::fromStdString(error.msg));
    } catch (const YAML::Exception& error) {
        errors
            << QStringLiteral("%1:1:1: not valid YAML: %2").arg(fileName, QString::fromStdString(error.msg));
    }
    return YAML::Node(YAML::NodeType::Undefined);
}

YAML::Node YamlReader::load()
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        errors << QStringLiteral("%1: cannot read it: %2").arg(fileName, file.errorString());
        return YAML::Node(YAML::NodeType::Undefined);
    }
    return parse(file.readAll());
}

void YamlReader::fail(const YAML::Node& at, const QString& message)
{
    const YAML::Mark mark = at.IsDefined() ? at.Mark() : YAML::Mark::null_mark();
    const int line = mark.is_null() ? 1 : mark.line + 1;
    const int column = mark.is_null() ? 1 : mark.column + 1;
    errors << QStringLiteral("%1:%2:%3: %4").arg(fileName).arg(line).arg(column).arg(message);
}

bool YamlReader::onlyKeys(const YAML::Node& map, std::initializer_list<const char*> allowed,
                          const QString& what)
{
    QStringList names;
    for (const char* name : allowed)
        names << QLatin1String(name);
    bool good = true;
    for (auto entry = map.begin(); entry != map.end(); ++entry) {
        const QString key = scalarOf(entry->first);
        if (names.contains(key))
            continue;
        const QString near = nearest(key, names);
        fail(entry->first,
             QStringLiteral("%1 has no key '%2'%3 (keys: %4)")
                 .arg(what, key,
                      near.isEmpty() ? QString() : QStringLiteral("; did you mean '%1'?").arg(near),
                      names.join(QStringLiteral(", "))));
        good = false;
    }
    return good;
}

bool YamlReader::isMap(const YAML::Node& node, const QString& what)
{
    if (node.IsMap())
        return true;
    fail(node, QStringLiteral("%1 must be a map of keys and values, like {key: value}").arg(what));
    return false;
}

bool YamlReader::isSequence(const YAML::Node& node, const QString& what)
{
    if (node.IsSequence())
        return true;
    fail(node, QStringLiteral("%1 must be a list (lines starting with '- ', or [a, b])").arg(what));
    return false;
}

bool YamlReader::isScalar(const YAML::Node& node, const QString& what)
{
    if (node.IsScalar())
        return true;
    fail(node, QStringLiteral("%1 must be a single value, not a list or a map").arg(what));
    return false;
}

bool YamlReader::text(const YAML::Node& node, QString& value, const QString& what)
{
    if (!isScalar(node, what))
        return false;
    value = scalarOf(node).trimmed();
    if (value.isEmpty()) {
        fail(node, QStringLiteral("%1 must not be empty").arg(what));
        return false;
    }
    return true;
}

bool YamlReader::integer(const YAML::Node& node, long long& value, long long minimum, long long maximum,
                         const QString& what)
{
    if (!isScalar(node, what))
        return false;
    bool ok = false;
    const long long number = scalarOf(node).toLongLong(&ok);
    if (!ok || number < minimum || number > maximum) {
        fail(node, QStringLiteral("%1 must be a whole number from %2 to %3, not '%4'")
                       .arg(what)
                       .arg(minimum)
                       .arg(maximum)
                       .arg(scalarOf(node)));
        return false;
    }
    value = number;
    return true;
}

bool YamlReader::duration(const YAML::Node& node, qint64& micros, const QString& what, bool zeroAllowed)
{
    if (!isScalar(node, what))
        return false;
    static const QRegularExpression pattern(QStringLiteral("^\\s*(-?[0-9]+(?:\\.[0-9]+)?)\\s*(ms|s)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(scalarOf(node));
    const double number = match.hasMatch() ? match.captured(1).toDouble() : 0;
    const double scale = match.captured(2) == QLatin1String("ms") ? 1e3 : 1e6;
    if (!match.hasMatch() || number < 0 || (!zeroAllowed && number == 0) || number * scale > 1e13) {
        fail(node, QStringLiteral("%1 must be a duration %2, such as 500ms or 2s, not '%3'")
                       .arg(what, zeroAllowed ? QStringLiteral("of 0 or more") : QStringLiteral("above 0"),
                            scalarOf(node)));
        return false;
    }
    micros = std::llround(number * scale);
    return true;
}

bool YamlReader::frequency(const YAML::Node& node, double& hertz, const QString& what)
{
    if (!isScalar(node, what))
        return false;
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]+)?)\\s*Hz\\s*$"));
    const QRegularExpressionMatch match = pattern.match(scalarOf(node));
    const double number = match.hasMatch() ? match.captured(1).toDouble() : 0;
    if (!match.hasMatch() || !(number > 0) || number > 1000) {
        fail(node, QStringLiteral("%1 must be a frequency above 0, such as 1.5Hz, not '%2'")
                       .arg(what, scalarOf(node)));
        return false;
    }
    hertz = number;
    return true;
}

bool YamlReader::percentage(const YAML::Node& node, double& fraction, const QString& what)
{
    if (!isScalar(node, what))
        return false;
    static const QRegularExpression pattern(QStringLiteral("^\\s*(-?[0-9]+(?:\\.[0-9]+)?)\\s*%\\s*$"));
    const QRegularExpressionMatch match = pattern.match(scalarOf(node));
    const double number = match.hasMatch() ? match.captured(1).toDouble() : -1;
    if (!match.hasMatch() || number < 0 || number > 100) {
        fail(node, QStringLiteral("%1 must be a percentage from 0% to 100%, such as 10%, not '%2'")
                       .arg(what, scalarOf(node)));
        return false;
    }
    fraction = number / 100.0;
    return true;
}

int YamlReader::valueName(const YAML::Node& node)
{
    if (!isScalar(node, QStringLiteral("a value's name")))
        return -1;
    const QString name = scalarOf(node).trimmed();
    const int index = StateValues::indexOf(name);
    if (index >= 0)
        return index;
    const QString near = nearest(name, valueNames());
    fail(node, QStringLiteral("no value is named '%1'%2")
                   .arg(name, near.isEmpty() ? QStringLiteral(" (the names are those of the link, such as "
                                                              "cockpitIgnition or lightIndicatorLeft)")
                                             : QStringLiteral("; did you mean %1?").arg(near)));
    return -1;
}

bool YamlReader::stateValue(const YAML::Node& node, int index, int& value, std::mt19937_64* random)
{
    const StateValues::Value& described = StateValues::table[index];
    const bool truth = described.kind == StateValues::Kind::Bool;
    const QString expected = truth ? QStringLiteral("true or false") : QStringLiteral("a whole number");
    if (node.IsMap() && node["random"] && random) {
        if (!onlyKeys(node, {"random"}, QStringLiteral("a random value")))
            return false;
        const YAML::Node range = node["random"];
        if (!range.IsSequence() || range.size() != 2) {
            fail(range, QStringLiteral("random takes [lowest, highest], such as {random: [-10, 4]}"));
            return false;
        }
        int bounds[2] = {0, 0};
        for (std::size_t i = 0; i < 2; ++i) {
            if (!stateValue(range[i], index, bounds[i], nullptr))
                return false;
        }
        if (bounds[0] > bounds[1]) {
            fail(range, QStringLiteral("random takes the lowest value first"));
            return false;
        }
        value = std::uniform_int_distribution<int>(bounds[0], bounds[1])(*random);
        return true;
    }
    if (!node.IsScalar()) {
        fail(node, QStringLiteral("%1 takes %2%3")
                       .arg(QLatin1String(described.name), expected,
                            random ? QStringLiteral(" or {random: [lo, hi]}") : QString()));
        return false;
    }
    const QString text = scalarOf(node).trimmed();
    if (truth) {
        if (text == QLatin1String("true") || text == QLatin1String("false")) {
            value = text == QLatin1String("true") ? 1 : 0;
            return true;
        }
    } else {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (ok) {
            value = number;
            return true;
        }
    }
    fail(node, QStringLiteral("%1 takes %2, not '%3'").arg(QLatin1String(described.name), expected, text));
    return false;
}

QString YamlReader::nearest(const QString& text, const QStringList& candidates)
{
    QString best;
    int bestDistance = std::numeric_limits<int>::max();
    for (const QString& candidate : candidates) {
        const int distance = editDistance(text, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    // Near: at most a third of the name's letters differ.
    return bestDistance <= std::max(2, static_cast<int>(text.size()) / 3) ? best : QString();
}
