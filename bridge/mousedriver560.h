#pragma once

#include "bridge/mousedriver.h"

// The 560 family: DPI, lighting and recoil live in the five on-device
// profile records, sent as whole 128-byte images from the view's mirror.
class MouseDriver560 : public MouseDriver
{
public:
    using MouseDriver::MouseDriver;

    void sendKeyLayer(keymatrix::Layer &layer1) override;
    void sendRecoilLayers(keymatrix::RecoilLayers &layers) override;
    void resetKeyLayers(keymatrix::LayerBuffer &factory) override;
    void selectKeyLayer(int indexNo) override;
    void setDpiStages(const dpistages::StageCodes &codes, int dpiCount,
                      const QString &sensorType) override;
    void setCurrentStage(uchar stage) override;
    int currentStage() override;
    void setLightingEffect(uchar effect, uchar option1, uchar option2) override;
    void setColours(uchar type, lighting::Colours &colours) override;
    void sendMacro(uchar id, uchar *image128) override;
    bool sendRecoil(int gunSlot, uchar times, uchar x, uchar y) override;
    void setReportRate(uchar rate) override;
    // Records 0 and 1, and with recoil 2-4 as well.
    void readOnConnection() override;

private:
    void sendRecords(std::initializer_list<uint> records);
    // Records 1-4 with recoil, else record 1 only.
    void sendSettingRecords();
};
