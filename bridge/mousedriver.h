#pragma once

#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

#include "bridge/dpistages.h"
#include "bridge/family.h"
#include "bridge/keymatrix.h"
#include "bridge/lighting.h"
#include "bridge/profileblocks.h"

class Hid_Thread;

// The bridge's device operations for one controller family: which commands
// carry a setting, in which order, and which profile records mirror it. One
// implementation per family, chosen once when a device is accepted; the
// bridge itself never asks which family it talks to. Every method may run
// without a device object: then the mirrors still take the new fields and
// nothing is sent.
class MouseDriver
{
public:
    using HidProvider = std::function<Hid_Thread *()>;

    MouseDriver(const DeviceFacts &facts, HidProvider hid, ProfileBlocks &blocks);
    virtual ~MouseDriver() = default;

    // The family and model facts the driver was chosen for.
    CommandFamily family() const { return m_facts.family(); }
    const DeviceFacts &facts() const { return m_facts; }

    // Key layer 1 alone.
    virtual void sendKeyLayer(keymatrix::Layer &layer1) = 0;
    // The four recoil layers, then key matrix 1 selected.
    virtual void sendRecoilLayers(keymatrix::RecoilLayers &layers) = 0;
    // Factory matrix into layers 2-4.
    virtual void resetKeyLayers(keymatrix::LayerBuffer &factory) = 0;
    // Selects key matrix indexNo (1-4).
    virtual void selectKeyLayer(int indexNo) = 0;

    virtual void setDpiStages(const dpistages::StageCodes &codes, int dpiCount,
                              const QString &sensorType) = 0;
    virtual void setCurrentStage(uchar stage) = 0;
    // The mouse's current stage (1-8); 0 when it could not be read.
    virtual int currentStage() = 0;

    virtual void setLightingEffect(uchar effect, uchar option1, uchar option2) = 0;
    virtual void setColours(uchar type, lighting::Colours &colours) = 0;

    // Macro image of slot id (1-based).
    virtual void sendMacro(uchar id, uchar *image128) = 0;
    // Recoil data of gun slot 1-3. False when it could not be sent.
    virtual bool sendRecoil(int gunSlot, uchar times, uchar x, uchar y) = 0;

    virtual void setReportRate(uchar rate) = 0;

    // What the family reads from a mouse that was just accepted.
    virtual void readOnConnection() {}

    // The same commands on every family: the keyboard option is a 553
    // command, the profile records are 560 commands.
    void setKeyboardOption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    QVariantList keyboardOption();
    void sendProfileRecord(uint record);
    void readProfileRecord(uint record);
    int readCurrentProfile();

    // The driver for a family.
    static std::unique_ptr<MouseDriver> forFamily(const DeviceFacts &facts, HidProvider hid,
                                                  ProfileBlocks &blocks);

protected:
    Hid_Thread *hid() const { return m_hid ? m_hid() : nullptr; }

    DeviceFacts m_facts;
    HidProvider m_hid;
    ProfileBlocks &m_blocks;
};
