#include "link/Assignments.h"

#include "StateValues.h"

namespace Peer {

namespace {

// The names, wrapped, integers first, then truth values.
QString nameTable()
{
    QString table;
    for (const bool truthValues : {false, true}) {
        QString line = truthValues ? QStringLiteral("  true/false:") : QStringLiteral("  whole numbers:");
        const int indent = 17;
        line = line.leftJustified(indent, QLatin1Char(' '));
        for (const StateValues::Value& value : StateValues::table) {
            if ((value.kind == StateValues::Kind::Bool) != truthValues)
                continue;
            const QString name = QLatin1String(value.name);
            if (line.size() + 1 + name.size() > 100 && line.trimmed().size() > 0 &&
                !line.endsWith(QLatin1Char(':'))) {
                table += line + QLatin1Char('\n');
                line = QString(indent, QLatin1Char(' '));
            }
            if (!line.endsWith(QLatin1Char(' ')))
                line += QLatin1Char(' ');
            line += name;
        }
        table += line + QLatin1Char('\n');
    }
    table.chop(1);
    return table;
}

QString unknownNameError(const QString& key)
{
    QString text = QStringLiteral("no value is named '%1'").arg(key);
    for (const StateValues::Value& value : StateValues::table) {
        const QString name = QLatin1String(value.name);
        if (name.compare(key, Qt::CaseInsensitive) == 0) {
            text += QStringLiteral(" (names are case-sensitive: did you mean %1?)").arg(name);
            return text;
        }
    }
    return text + QStringLiteral("; the names are:\n") + nameTable();
}

} // namespace

Assignments parseAssignments(const QStringList& arguments)
{
    Assignments result;
    const auto fail = [&result](const QString& error) {
        result.document = {};
        result.error = error;
        return result;
    };
    if (arguments.isEmpty())
        return fail(QStringLiteral("send needs at least one key=value, e.g. send cockpitIgnition=1"));

    for (const QString& argument : arguments) {
        const int equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return fail(QStringLiteral("'%1' is not key=value").arg(argument));
        const QString key = argument.left(equals);
        const QString text = argument.mid(equals + 1);
        const int index = StateValues::indexOf(key);
        if (index < 0)
            return fail(unknownNameError(key));
        if (result.document.contains(key))
            return fail(QStringLiteral("%1 is given twice").arg(key));

        if (StateValues::table[index].kind == StateValues::Kind::Bool) {
            if (text == QLatin1String("true") || text == QLatin1String("1"))
                result.document.insert(key, true);
            else if (text == QLatin1String("false") || text == QLatin1String("0"))
                result.document.insert(key, false);
            else
                return fail(QStringLiteral("%1 is true or false, not '%2'").arg(key, text));
        } else {
            bool ok = false;
            const int number = text.toInt(&ok, 10);
            if (!ok)
                return fail(QStringLiteral("%1 takes a whole number (32 bits), not '%2'").arg(key, text));
            result.document.insert(key, number);
        }
    }
    return result;
}

} // namespace Peer
