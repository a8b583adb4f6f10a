#pragma once
// Shared by the detection tests: a debug-line recorder and
// a device host that notes what the listener asks of the GUI.

#include <QCoreApplication>
#include <QMutex>
#include <QStringList>
#include <QThread>

#include <vector>

#include "device/devicehost.h"
#include "simmouse.h"
#include "tests/common/fakes.h"

// Debug output of every thread (the listener writes from the pool).
class DebugLines
{
public:
    DebugLines() { instance() = this; previous = qInstallMessageHandler(&DebugLines::handler); }
    ~DebugLines()
    {
        qInstallMessageHandler(previous);
        instance() = nullptr;
    }
    QStringList lines() const
    {
        QMutexLocker lock(&mutex);
        return captured;
    }
    int count(const QString &line) const { return lines().count(line); }
    void clear()
    {
        QMutexLocker lock(&mutex);
        captured.clear();
    }

private:
    static DebugLines *&instance()
    {
        static DebugLines *current = nullptr;
        return current;
    }
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &msg)
    {
        if (DebugLines *self = instance()) {
            QMutexLocker lock(&self->mutex);
            self->captured << msg;
        }
        if (type != QtDebugMsg && instance() && instance()->previous)
            instance()->previous(type, context, msg);
    }
    mutable QMutex mutex;
    QStringList captured;
    QtMessageHandler previous = nullptr;
};

// Notes every effect in order; an effect off the GUI thread is a fault.
class RecordingHost : public DeviceHost
{
public:
    QString ic = QStringLiteral("553");
    bool gun = false;
    QStringList effects;
    int offGuiThread = 0;

    QString icType() const override { return ic; }
    bool isGun() const override { return gun; }
    void setViewEnabled(bool enabled) override
    {
        note(QStringLiteral("enabled:%1").arg(enabled ? 1 : 0));
    }
    void setCurrentDPI(int stage) override { note(QStringLiteral("dpi:%1").arg(stage)); }
    void showBalloon(const QString &title, const QString &text) override
    {
        note(QStringLiteral("balloon:%1|%2").arg(title, text));
    }
    void deviceWriteFailed() override { note(QStringLiteral("writeFailed")); }

private:
    void note(const QString &effect)
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            ++offGuiThread;
        effects << effect;
    }
};

// The feature requests the device took, in order (unscrambled).
inline std::vector<std::vector<uint8_t>> requestsSent()
{
    std::vector<std::vector<uint8_t>> out;
    for (const simmouse::WireRecord &r : simmouse::wireLog())
        if (r.kind == simmouse::Kind::FeatureOut && r.ok && r.clear.size() == 9)
            out.push_back(r.clear);
    return out;
}

inline QList<int> requestCodes()
{
    QList<int> codes;
    for (const auto &r : requestsSent())
        codes << r[1];
    return codes;
}
