#pragma once

#include "StateValues.h"
#include "ThreadSanitizer.h"

#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>

// The members generated for each value of the table in StateValues.h.
#define ZUV_MODEL_PROPERTY(type, name, Name, group, pass, also)                                              \
    Q_PROPERTY(type name READ get##Name WRITE set##Name NOTIFY name##Changed)
#define ZUV_MODEL_ACCESSORS(type, name, Name, group, pass, also)                                             \
    type get##Name() const                                                                                   \
    {                                                                                                        \
        return read(m_##name);                                                                               \
    }                                                                                                        \
    void set##Name(type value)                                                                               \
    {                                                                                                        \
        write(m_##name, value, &VirtualPlatformDataModel::name##Changed, ZUV_ALSO_##also);                   \
    }
#define ZUV_MODEL_FIELD(type, name, Name, group, pass, also) type m_##name{};
#define ZUV_ALSO_none nullptr
#define ZUV_ALSO_localBasedDataChanged &VirtualPlatformDataModel::localBasedDataChanged
#define ZUV_ALSO_remoteBasedDataChanged &VirtualPlatformDataModel::remoteBasedDataChanged
// The change signals of one pass (see StateValues.h).
#define ZUV_MODEL_SIGNAL_1(type, name, Name, group, pass, also) ZUV_MODEL_SIGNAL_1_##pass(name)
#define ZUV_MODEL_SIGNAL_2(type, name, Name, group, pass, also) ZUV_MODEL_SIGNAL_2_##pass(name)
#define ZUV_MODEL_SIGNAL_3(type, name, Name, group, pass, also) ZUV_MODEL_SIGNAL_3_##pass(name)
#define ZUV_MODEL_SIGNAL_1_1(name) void name##Changed();
#define ZUV_MODEL_SIGNAL_1_2(name)
#define ZUV_MODEL_SIGNAL_1_3(name)
#define ZUV_MODEL_SIGNAL_2_1(name)
#define ZUV_MODEL_SIGNAL_2_2(name) void name##Changed();
#define ZUV_MODEL_SIGNAL_2_3(name)
#define ZUV_MODEL_SIGNAL_3_1(name)
#define ZUV_MODEL_SIGNAL_3_2(name)
#define ZUV_MODEL_SIGNAL_3_3(name) void name##Changed();

// The whole state of the virtual platform: 49 named values, one per input or output line of the
// simulated modules (listed in StateValues.h). The scene binds to them by name, and they are the
// keys of the state document exchanged with the peer process.
//
// Three groups by who writes them: cockpit inputs (written by the cockpit, which then asks for a
// transmission itself), module inputs (buttons and sensors on the board: their setters also emit
// localBasedDataChanged, upon which the link transmits the whole state) and module outputs (set by
// documents received from the peer).
//
// Every value is guarded by one non-recursive mutex, held only while a single value is compared and
// stored or read. Signals are emitted after the mutex is released, so a receiver may call any
// accessor at once.
class VirtualPlatformDataModel : public QObject
{
    Q_OBJECT
    ZUV_STATE_VALUES(ZUV_MODEL_PROPERTY)

public:
    VirtualPlatformDataModel() = default;
    ~VirtualPlatformDataModel() override = default;

    // Writes one member per value (key = its name) into `target`, replacing members of the same key
    // and leaving others untouched.
    void serializeJson(QJsonObject& target) const;

    // Applies every member of `source` whose key names a value, in table order, through the write
    // accessors; emits remoteBasedDataChanged once at the end. Returns the number of members whose
    // key named a value.
    int deserializeJson(const QJsonObject& source);

    // Applies one received document's assignments the same way; returns their count.
    int apply(const StateValues::Assignments& assignments);

    // The value at `index` of the table, as an int (truth values 0 or 1), and its write accessor.
    int value(int index) const;
    void setValue(int index, int value);

    ZUV_STATE_VALUES(ZUV_MODEL_ACCESSORS)

signals:
    void localBasedDataChanged();
    void remoteBasedDataChanged();
    void requestTransmit();
    ZUV_COCKPIT_VALUES(ZUV_MODEL_SIGNAL_1)
    ZUV_ALARM_VALUES(ZUV_MODEL_SIGNAL_1)
    ZUV_ALARM_VALUES(ZUV_MODEL_SIGNAL_2)
    ZUV_LIGHT_VALUES(ZUV_MODEL_SIGNAL_1)
    ZUV_LIGHT_VALUES(ZUV_MODEL_SIGNAL_2)
    ZUV_LIGHT_VALUES(ZUV_MODEL_SIGNAL_3)
    ZUV_WINDSHIELD_VALUES(ZUV_MODEL_SIGNAL_1)
    ZUV_WINDSHIELD_VALUES(ZUV_MODEL_SIGNAL_2)

private:
    using Signal = void (VirtualPlatformDataModel::*)();

    // Holds the model's mutex for one value. Qt's mutex is not built for ThreadSanitizer, so under
    // it the lock tells the sanitizer what it orders.
    class ValueLock
    {
    public:
        explicit ValueLock(QMutex& mutex) : locker(&mutex) { ZUV_HAPPENS_AFTER(&mutex); }
        ~ValueLock() { ZUV_HAPPENS_BEFORE(locker.mutex()); }
        ValueLock(const ValueLock&) = delete;
        ValueLock& operator=(const ValueLock&) = delete;

    private:
        QMutexLocker locker;
    };

    template <typename T> T read(const T& field) const
    {
        ValueLock lock(m_mutex);
        return field;
    }

    // Compare and store under the mutex; emit outside it. `also` is the signal that follows the
    // change signal (localBasedDataChanged for module inputs), if any.
    template <typename T> void write(T& field, T value, Signal changed, Signal also)
    {
        {
            ValueLock lock(m_mutex);
            if (field == value)
                return;
            field = value;
        }
        emit(this->*changed)();
        if (also)
            emit(this->*also)();
    }

    mutable QMutex m_mutex;
    ZUV_STATE_VALUES(ZUV_MODEL_FIELD)
};
