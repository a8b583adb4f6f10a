#pragma once

#include "bridge/mousedriver.h"

// The 553 family: every setting has a command of its own.
class MouseDriver553 : public MouseDriver
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
};
