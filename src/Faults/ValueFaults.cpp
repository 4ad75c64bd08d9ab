#include "Faults/ValueFaults.h"

#include "YamlReading.h"

#include <QFile>

#include <algorithm>
#include <set>

namespace {

QString nameOf(int index)
{
    return QLatin1String(StateValues::table[index].name);
}

QString seconds(qint64 micros)
{
    return QStringLiteral("%1 s").arg(double(micros) / 1e6);
}

// One entry of faults: [...].
bool readFault(YamlReader& reader, const YAML::Node& node, std::vector<ValueFault>& out)
{
    static const QStringList kinds = {"dead", "stuck", "offset", "swap", "flicker"};
    if (!reader.isMap(node, QStringLiteral("a fault")))
        return false;
    QString kind;
    YAML::Node body;
    for (auto entry = node.begin(); entry != node.end(); ++entry) {
        const QString key = QString::fromStdString(entry->first.Scalar());
        if (!kinds.contains(key))
            continue;
        if (!kind.isEmpty()) {
            reader.fail(entry->first,
                        QStringLiteral("a fault is one thing: '%1' and '%2' are two faults").arg(kind, key));
            return false;
        }
        kind = key;
        body = entry->second;
    }
    if (kind.isEmpty()) {
        const QString first =
            node.begin() != node.end() ? QString::fromStdString(node.begin()->first.Scalar()) : QString();
        const QString near = YamlReader::nearest(first, kinds);
        reader.fail(node,
                    QStringLiteral("a fault is one of %1%2")
                        .arg(kinds.join(QStringLiteral(", ")),
                             near.isEmpty() ? QString() : QStringLiteral("; did you mean '%1'?").arg(near)));
        return false;
    }
    bool good = reader.onlyKeys(node, {"dead", "stuck", "offset", "swap", "flicker", "after", "for"},
                                QStringLiteral("a fault"));
    ValueFault base;
    base.line = node.Mark().line + 1;
    if (node["after"])
        good &= reader.duration(node["after"], base.after, QStringLiteral("after"), true);
    if (node["for"])
        good &= reader.duration(node["for"], base.lasting, QStringLiteral("for"));

    if (kind == QLatin1String("dead")) {
        base.kind = ValueFault::Kind::Dead;
        base.index = reader.valueName(body);
        if (base.index < 0)
            return false;
        out.push_back(base);
        return good;
    }
    if (kind == QLatin1String("swap")) {
        base.kind = ValueFault::Kind::Swap;
        if (!body.IsSequence() || body.size() != 2) {
            reader.fail(
                body,
                QStringLiteral("swap takes two values, such as [lightIndicatorLeft, lightIndicatorRight]"));
            return false;
        }
        base.index = reader.valueName(body[0]);
        base.other = reader.valueName(body[1]);
        if (base.index < 0 || base.other < 0)
            return false;
        const StateValues::Value& a = StateValues::table[base.index];
        const StateValues::Value& b = StateValues::table[base.other];
        if (base.index == base.other) {
            reader.fail(body, QStringLiteral("swap takes two different values"));
            return false;
        }
        if (StateValues::isInput(base.index) != StateValues::isInput(base.other)) {
            reader.fail(body,
                        QStringLiteral("swap crosses two inputs or two outputs; %1 is an %2, %3 an %4")
                            .arg(nameOf(base.index), StateValues::isInput(base.index) ? "input" : "output",
                                 nameOf(base.other), StateValues::isInput(base.other) ? "input" : "output"));
            return false;
        }
        if (a.kind != b.kind) {
            reader.fail(body, QStringLiteral("swap crosses two values of one kind; %1 and %2 are not")
                                  .arg(nameOf(base.index), nameOf(base.other)));
            return false;
        }
        out.push_back(base);
        return good;
    }
    // stuck, offset and flicker: {name: value, ...}
    if (!reader.isMap(body, kind) || body.size() == 0) {
        if (body.IsMap())
            reader.fail(body, QStringLiteral("%1 needs a value, such as {cockpitTemperature: 20}").arg(kind));
        return false;
    }
    for (auto entry = body.begin(); entry != body.end(); ++entry) {
        ValueFault fault = base;
        fault.index = reader.valueName(entry->first);
        if (fault.index < 0) {
            good = false;
            continue;
        }
        if (kind == QLatin1String("stuck")) {
            fault.kind = ValueFault::Kind::Stuck;
            good &= reader.stateValue(entry->second, fault.index, fault.value, nullptr);
        } else if (kind == QLatin1String("offset")) {
            fault.kind = ValueFault::Kind::Offset;
            if (StateValues::table[fault.index].kind != StateValues::Kind::Int) {
                reader.fail(entry->first, QStringLiteral("offset is for whole numbers; %1 is true or false")
                                              .arg(nameOf(fault.index)));
                good = false;
                continue;
            }
            long long amount = 0;
            good &= reader.integer(entry->second, amount, -1000000, 1000000, QStringLiteral("an offset"));
            fault.value = int(amount);
        } else {
            fault.kind = ValueFault::Kind::Flicker;
            good &= reader.percentage(entry->second, fault.share, QStringLiteral("flicker"));
        }
        out.push_back(fault);
    }
    return good;
}

} // namespace

QString ValueFault::describe() const
{
    QString text;
    switch (kind) {
    case Kind::Dead:
        text = QStringLiteral("dead %1").arg(nameOf(index));
        break;
    case Kind::Stuck:
        text = QStringLiteral("stuck %1 at %2")
                   .arg(nameOf(index), StateValues::table[index].kind == StateValues::Kind::Bool
                                           ? QLatin1String(value ? "true" : "false")
                                           : QString::number(value));
        break;
    case Kind::Offset:
        text = QStringLiteral("offset %1 by %2").arg(nameOf(index)).arg(value);
        break;
    case Kind::Swap:
        text = QStringLiteral("swap %1 with %2").arg(nameOf(index), nameOf(other));
        break;
    case Kind::Flicker:
        text = QStringLiteral("flicker %1, %2 % of datagrams").arg(nameOf(index)).arg(share * 100.0);
        break;
    }
    if (after > 0)
        text += QStringLiteral(", from %1").arg(seconds(after));
    if (lasting >= 0)
        text += QStringLiteral(", for %1").arg(seconds(lasting));
    return text;
}

FaultsLoaded parseFaults(const QString& file, const QByteArray& text)
{
    FaultsLoaded loaded;
    YamlReader reader(file);
    const YAML::Node root = reader.parse(text);
    if (reader.ok()) {
        if (!root.IsMap()) {
            reader.fail(root, QStringLiteral("a fault file is a map with faults: [...] and/or link: {...}"));
        } else if (reader.onlyKeys(root, {"faults", "link"}, QStringLiteral("a fault file"))) {
            if (!root["faults"] && !root["link"])
                reader.fail(
                    root,
                    QStringLiteral("a fault file needs faults: [...] (faults: [] for none) or link: {...}"));
            if (const YAML::Node faults = root["faults"]) {
                if (reader.isSequence(faults, QStringLiteral("faults"))) {
                    for (const YAML::Node& entry : faults)
                        readFault(reader, entry, loaded.faults.values);
                }
            }
            if (const YAML::Node link = root["link"])
                readLinkFaults(reader, link, loaded.faults.link);
        }
    }
    loaded.errors = reader.messages();
    if (!loaded.errors.isEmpty())
        loaded.faults = {};
    return loaded;
}

FaultsLoaded loadFaults(const QString& file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        FaultsLoaded loaded;
        loaded.errors << QStringLiteral("%1: cannot read it: %2").arg(file, source.errorString());
        return loaded;
    }
    return parseFaults(file, source.readAll());
}

void ValueFaults::load(const FaultSet& faults, qint64 nowMicros)
{
    set = faults.values;
    loadedAt = nowMicros;
    // A stream of its own for flickering, from the same seed as the link's faults.
    random.seed(faults.link.seed ^ 0x5a5a5a5a5a5a5a5aULL);
}

void ValueFaults::sending(std::array<int, StateValues::count>& values, qint64 nowMicros)
{
    through(values, nowMicros - loadedAt, true, true, nullptr);
}

void ValueFaults::through(std::array<int, StateValues::count>& values, qint64 since, bool inputs, bool draw,
                          std::set<int>* touched)
{
    for (const ValueFault& fault : set) {
        if (fault.onInput() != inputs || !fault.activeAt(since))
            continue;
        int& value = values[static_cast<std::size_t>(fault.index)];
        if (touched)
            touched->insert(fault.index);
        switch (fault.kind) {
        case ValueFault::Kind::Dead:
            value = 0;
            break;
        case ValueFault::Kind::Stuck:
            value = fault.value;
            break;
        case ValueFault::Kind::Offset:
            value += fault.value;
            break;
        case ValueFault::Kind::Swap:
            if (touched)
                touched->insert(fault.other);
            std::swap(value, values[static_cast<std::size_t>(fault.other)]);
            break;
        case ValueFault::Kind::Flicker:
            if (draw && std::uniform_real_distribution<double>(0.0, 1.0)(random) < fault.share)
                value = 0;
            break;
        }
    }
}

StateValues::Assignments ValueFaults::receiving(const StateValues::Assignments& document, qint64 nowMicros)
{
    std::set<int> touched;
    for (const StateValues::Assignment& assignment : document.list) {
        received[static_cast<std::size_t>(assignment.index)] = assignment.value;
        touched.insert(assignment.index);
    }
    // The outputs as shown: the received ones through every output fault at work, in file order;
    // a flickering one is drawn once for each received document.
    std::array<int, StateValues::count> values = received;
    through(values, nowMicros - loadedAt, false, true, &touched);
    StateValues::Assignments shown;
    shown.count = document.count;
    for (const int index : touched)
        shown.list.push_back({index, values[static_cast<std::size_t>(index)]});
    return shown;
}

StateValues::Assignments ValueFaults::shownNow(qint64 nowMicros)
{
    std::array<int, StateValues::count> values = received;
    through(values, nowMicros - loadedAt, false, false, nullptr);
    StateValues::Assignments outputs;
    for (int index = 0; index < StateValues::count; ++index) {
        if (!StateValues::isInput(index))
            outputs.list.push_back({index, values[static_cast<std::size_t>(index)]});
    }
    return outputs;
}

qint64 ValueFaults::nextChange(qint64 nowMicros) const
{
    const qint64 since = nowMicros - loadedAt;
    qint64 next = -1;
    for (const ValueFault& fault : set) {
        for (const qint64 edge : {fault.after, fault.lasting < 0 ? -1 : fault.after + fault.lasting}) {
            if (edge > since && (next < 0 || edge < next))
                next = edge;
        }
    }
    return next < 0 ? -1 : loadedAt + next;
}

std::vector<const ValueFault*> ValueFaults::activeAt(qint64 nowMicros) const
{
    std::vector<const ValueFault*> active;
    for (const ValueFault& fault : set) {
        if (fault.activeAt(nowMicros - loadedAt))
            active.push_back(&fault);
    }
    return active;
}
