// Placeholder bodies until the bridge operations land; none claims success.
#include "app/myqquickview.h"

void myQQuickView::initBridgeState() {}

QVariant myQQuickView::mouseSendMacroData(QVariantList /*macroData*/, QVariant /*macroIndex*/)
{
    return {};
}

void myQQuickView::mouseSendGundata(int /*index*/, QVariantList /*src6*/)
{
}

void myQQuickView::mouseSetKeyboardoption(uchar /*byte1*/, uchar /*byte2*/, uchar /*byte3*/, uchar /*byte4*/)
{
}

void myQQuickView::mouseSetReportRate(uchar /*rate*/)
{
}

void myQQuickView::mouseSetCurrentDPI(uchar /*currentDPI*/)
{
}

void myQQuickView::mouseResetKeyMatrix()
{
}

QVariant myQQuickView::mouseGetCurrentDPI()
{
    return {};
}

void myQQuickView::mouseSetKeyMatrix(QVariantList /*src64*/, bool /*isSendData*/, QVariantList /*otherParam*/)
{
}

void myQQuickView::mouseSetDpi(int /*dpiCount*/, QString /*sensorType*/, QVariantList /*dpiValueArray*/)
{
}

void myQQuickView::mouseSetRGBEffect(uchar /*effect*/, uchar /*option1*/, uchar /*option2*/)
{
}

void myQQuickView::mouseSetRGBColor(uchar /*type*/, QVariantList /*src24*/)
{
}

void myQQuickView::mouseSetProfile(uint /*profileNo*/)
{
}

void myQQuickView::mouseReadProfile(uint /*profileNo*/)
{
}

QVariant myQQuickView::mouseReadCurrentProfile()
{
    return {};
}

void myQQuickView::mouseSwitchKeyMatrix(int /*indexNo*/)
{
}

QVariantList myQQuickView::GetKeyboardoption()
{
    return {};
}

void myQQuickView::mouseSetCursorSpeed(uint /*cursorSpeed*/)
{
}

void myQQuickView::mouseSetVerticalScrollLines(uint /*lines*/)
{
}

void myQQuickView::mouseSetDoubleClickSpeed(uint /*speed*/)
{
}

QVariantList myQQuickView::mouseGetKeydefine(QVariant /*index*/, bool /*isRecovery*/)
{
    return {};
}
