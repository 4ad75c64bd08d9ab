#include "StateValues.h"

#include <cmath>
#include <limits>

namespace StateValues {

int indexOf(const QString& name)
{
    for (int index = 0; index < count; ++index) {
        if (name == QLatin1String(table[index].name))
            return index;
    }
    return -1;
}

bool convert(const QJsonValue& member, Kind kind, int& value)
{
    if (member.isBool()) {
        value = member.toBool() ? 1 : 0;
        return true;
    }
    if (!member.isDouble())
        return false;
    const double number = member.toDouble();
    if (kind == Kind::Bool) {
        value = number != 0.0 ? 1 : 0;
        return true;
    }
    const double rounded = std::floor(number + 0.5);
    if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max()))
        return false;
    value = static_cast<int>(rounded);
    return true;
}

Assignments assignmentsOf(const QJsonObject& document)
{
    Assignments assignments;
    if (document.isEmpty())
        return assignments;
    assignments.list.reserve(static_cast<std::size_t>(document.size()));
    for (int index = 0; index < count; ++index) {
        const auto member = document.constFind(QLatin1String(table[index].name));
        if (member == document.constEnd())
            continue;
        ++assignments.count;
        int value = 0;
        if (convert(member.value(), table[index].kind, value))
            assignments.list.push_back({index, value});
    }
    return assignments;
}

} // namespace StateValues
