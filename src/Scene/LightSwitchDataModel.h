#pragma once

#include <QObject>

// Receives the selection of the stand-alone light switch window: the number of the selected
// position. Nothing else reads it; it exists so that the window can be shown on its own.
class LightSwitchDataModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int lightSwitchPosition READ getLightSwitchPosition WRITE setLightSwitchPosition NOTIFY
                   lightSwitchPositionChanged)

public:
    int getLightSwitchPosition() const { return position; }
    void setLightSwitchPosition(int value)
    {
        if (value == position)
            return;
        position = value;
        emit lightSwitchPositionChanged();
    }

signals:
    void lightSwitchPositionChanged();

private:
    int position = 0;
};
