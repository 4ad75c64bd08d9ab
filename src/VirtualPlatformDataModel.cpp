#include "VirtualPlatformDataModel.h"

#include <QJsonValue>
#include <QMetaProperty>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {

// Converts a received member's value to the property's type. An invalid result means that the
// value cannot be represented (null, strings, arrays, objects, numbers beyond 32 bits for an int):
// the member still counts, but the property keeps its value.
QVariant convertForProperty(const QJsonValue& value, int propertyType)
{
    if (propertyType == QMetaType::Int) {
        if (value.isBool())
            return QVariant(value.toBool() ? 1 : 0);
        if (!value.isDouble())
            return {};
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return {};
        // Nearest integer, halves rounded up, as the variant conversion of the JSON library does.
        const double rounded = std::floor(number + 0.5);
        if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
            return {};
        return QVariant(static_cast<int>(rounded));
    }
    if (propertyType == QMetaType::Bool) {
        if (value.isBool())
            return QVariant(value.toBool());
        if (value.isDouble())
            return QVariant(value.toDouble() != 0.0);
        return {};
    }
    return {};
}

} // namespace

void VirtualPlatformDataModel::serializeJson(QJsonObject& target) const
{
    const QMetaObject* meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QVariant value = property.read(this);
        const QString key = QString::fromLatin1(property.name());
        if (property.userType() == QMetaType::Bool)
            target.insert(key, value.toBool());
        else
            target.insert(key, value.toInt());
    }
}

int VirtualPlatformDataModel::deserializeJson(const QJsonObject& source)
{
    int count = 0;
    const QMetaObject* meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const auto member = source.constFind(QLatin1String(property.name()));
        if (member == source.constEnd())
            continue;
        ++count;
        const QVariant converted = convertForProperty(member.value(), property.userType());
        if (converted.isValid())
            property.write(this, converted);
    }
    emit remoteBasedDataChanged();
    return count;
}
