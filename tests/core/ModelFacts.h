#pragma once

#include "StateValues.h"

#include <QSet>
#include <QString>
#include <QStringList>

// The state's values as the tests walk them, read from the one table.
namespace ModelFacts {

inline QStringList propertyNames()
{
    QStringList names;
    for (const StateValues::Value& value : StateValues::table)
        names << QString::fromLatin1(value.name);
    return names;
}

inline QSet<QString> moduleInputs()
{
    QSet<QString> names;
    for (const StateValues::Value& value : StateValues::table) {
        if (value.group == StateValues::Group::ModuleInput)
            names << QString::fromLatin1(value.name);
    }
    return names;
}

inline bool isInt(const QString& name)
{
    const int index = StateValues::indexOf(name);
    return index >= 0 && StateValues::table[index].kind == StateValues::Kind::Int;
}

} // namespace ModelFacts
