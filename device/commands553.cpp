#include "commands553.h"

#include "hidtransport.h"
#include "protocol.h"

#include <cstring>

namespace cmd553 {

// 00H
void getSecrecyCode(HidTransport &t, uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (!t.beginCommand("cmd Failed 00"))
        return;
    proto::buildRequest(t.outReport, 0x00, {byte1, byte2, byte3, byte4});
    t.queryResults({&byte1, &byte2, &byte3, &byte4}, false);   // a failed echo yields zeros
}

// 83H
void getKeyboardoption(HidTransport &t, uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (!t.beginCommand("cmd Failed 83"))
        return;
    proto::buildRequest(t.outReport, 0x83);
    t.queryResults({&byte1, &byte2, &byte3, &byte4});
}

// 8BH
void getCurrentDPI(HidTransport &t, uchar &byte1)
{
    if (!t.beginCommand("cmd Failed 8BH"))
        return;
    proto::buildRequest(t.outReport, 0x8B);
    t.queryResults({&byte1});
}

// 03H
void setKeyboardoption(HidTransport &t, uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (!t.beginWrite("cmd Failed 03"))
        return;
    t.endWrite(t.sendAndSettle(0x03, {byte1, byte2, byte3, byte4}));
}

// 04H
void setGunData(HidTransport &t, uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (!t.beginWrite("cmd Failed 04"))
        return;
    t.endWrite(t.sendAndSettle(0x04, {0, byte1, byte2, byte3, byte4}));
}

// 01H
void setReportRate(HidTransport &t, uchar rate)
{
    if (!t.beginWrite("cmd Failed 01"))
        return;
    t.endWrite(t.sendWithPause(0x01, {rate}));
}

// 0BH
void setCurrentDPI(HidTransport &t, uchar stage)
{
    if (!t.beginWrite("cmd Failed 0B"))
        return;
    t.endWrite(t.sendWithPause(0x0B, {stage}));
}

// 12H
void setKeyMatrix(HidTransport &t, uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    if (!t.beginWrite("cmd Failed 12"))
        return;
    t.endWrite(t.sendWithPause(0x12, {indexAddOne, 0x40, 0x08}, src64, 64));
}

// 13H
void setMacroKey(HidTransport &t, uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    if (!t.beginWrite("cmd Failed 13"))
        return;
    t.endWrite(t.sendWithPause(0x13, {macroId, 0x80}, src128, 128));
}

// 11H
void setDPISet(HidTransport &t, uchar dpiStage, uchar *src8)
{
    if (!src8)
        return;
    if (!t.beginWrite("cmd Failed 11"))
        return;
    t.endWrite(t.sendWithPause(0x11, {dpiStage, 0x08}, src8, 8));
}

// 02H
void setCurrentKeyMatrix(HidTransport &t, uchar currentKeyMatrix)
{
    if (!t.beginWrite("cmd Failed 02"))
        return;
    t.endWrite(t.sendWithPause(0x02, {currentKeyMatrix}));
}

// 0DH
void setRGBLedEffect(HidTransport &t, uchar effect, uchar option1, uchar option2)
{
    if (!t.beginWrite("cmd Failed 0D"))
        return;
    t.endWrite(t.sendWithPause(0x0D, {effect, option1, option2}));
}

// 0CH
void setFixLEDColor(HidTransport &t, uchar *src3)
{
    if (!src3)
        return;
    if (!t.beginWrite("cmd Failed 0C"))
        return;
    t.endWrite(t.sendWithPause(0x0C, {src3[0], src3[1], src3[2]}));
}

// 10H
void setLED8StageColor(HidTransport &t, uchar type, uchar *src24)
{
    if (!src24)
        return;
    if (!t.beginWrite("cmd Failed 10"))
        return;
    const uchar n = type == 2 ? 4 : 24;
    t.endWrite(t.sendWithPause(0x10, {type, n}, src24, n));
}

} // namespace cmd553
