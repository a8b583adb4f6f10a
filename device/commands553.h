#pragma once

#include <QtGlobal>

class HidTransport;

// The command set of the 553 family: each command frames its request and
// runs its exchange on the transport. Writes tell the transport's owner when
// the mouse did not take them; reads leave the caller's values where the
// exchange failed.
namespace cmd553 {

// 00H
void getSecrecyCode(HidTransport &t, uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
// 83H
void getKeyboardoption(HidTransport &t, uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
// 8BH
void getCurrentDPI(HidTransport &t, uchar &byte1);
// 03H
void setKeyboardoption(HidTransport &t, uchar byte1, uchar byte2, uchar byte3, uchar byte4);
// 04H
void setGunData(HidTransport &t, uchar byte1, uchar byte2, uchar byte3, uchar byte4);
// 01H
void setReportRate(HidTransport &t, uchar rate);
// 0BH
void setCurrentDPI(HidTransport &t, uchar stage);
// 12H
void setKeyMatrix(HidTransport &t, uchar *src64, uchar indexAddOne);
// 13H
void setMacroKey(HidTransport &t, uchar macroId, uchar *src128);
// 11H
void setDPISet(HidTransport &t, uchar dpiStage, uchar *src8);
// 02H
void setCurrentKeyMatrix(HidTransport &t, uchar currentKeyMatrix);
// 0DH
void setRGBLedEffect(HidTransport &t, uchar effect, uchar option1, uchar option2);
// 0CH
void setFixLEDColor(HidTransport &t, uchar *src3);
// 10H
void setLED8StageColor(HidTransport &t, uchar type, uchar *src24);

} // namespace cmd553
