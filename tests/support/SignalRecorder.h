#pragma once

#include <QMetaMethod>
#include <QMutex>
#include <QObject>
#include <QStringList>

// Records the names of every signal that a source object's own class declares, in the order in
// which they reach the recorder (a receiver in the recorder's thread).
class SignalRecorder : public QObject
{
    Q_OBJECT

public:
    explicit SignalRecorder(const QObject* source, QObject* parent = nullptr) : QObject(parent)
    {
        const QMetaObject* meta = source->metaObject();
        const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("record()"));
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal)
                connect(source, method, this, slot);
        }
    }

    QStringList names() const
    {
        QMutexLocker lock(&mutex);
        return recorded;
    }

    void clear()
    {
        QMutexLocker lock(&mutex);
        recorded.clear();
    }

public slots:
    void record()
    {
        const QMetaMethod signal = sender()->metaObject()->method(senderSignalIndex());
        QMutexLocker lock(&mutex);
        recorded << QString::fromLatin1(signal.name());
    }

private:
    mutable QMutex mutex;
    QStringList recorded;
};
