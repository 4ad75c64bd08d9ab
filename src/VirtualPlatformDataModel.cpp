#include "VirtualPlatformDataModel.h"

void VirtualPlatformDataModel::serializeJson(QJsonObject& target) const
{
    for (int index = 0; index < StateValues::count; ++index)
        target.insert(QLatin1String(StateValues::table[index].name),
                      StateValues::toJson(index, value(index)));
}

int VirtualPlatformDataModel::deserializeJson(const QJsonObject& source)
{
    return apply(StateValues::assignmentsOf(source));
}

int VirtualPlatformDataModel::apply(const StateValues::Assignments& assignments)
{
    for (const StateValues::Assignment& assignment : assignments.list)
        setValue(assignment.index, assignment.value);
    emit remoteBasedDataChanged();
    return assignments.count;
}

int VirtualPlatformDataModel::value(int index) const
{
    switch (index) {
#define ZUV_MODEL_READ(type, name, Name, group, pass, also)                                                  \
    case StateValues::name:                                                                                  \
        return static_cast<int>(get##Name());
        ZUV_STATE_VALUES(ZUV_MODEL_READ)
#undef ZUV_MODEL_READ
    default:
        return 0;
    }
}

void VirtualPlatformDataModel::setValue(int index, int value)
{
    switch (index) {
#define ZUV_MODEL_WRITE(type, name, Name, group, pass, also)                                                 \
    case StateValues::name:                                                                                  \
        set##Name(static_cast<type>(value));                                                                 \
        break;
        ZUV_STATE_VALUES(ZUV_MODEL_WRITE)
#undef ZUV_MODEL_WRITE
    default:
        break;
    }
}
