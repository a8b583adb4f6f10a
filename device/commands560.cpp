#include "commands560.h"

#include "hidtransport.h"
#include "protocol.h"

#include <cstring>

namespace cmd560 {

// 81H
void getKeyboardoption(HidTransport &t, uchar &byte1, uchar &byte2)
{
    if (!t.beginCommand("cmd Failed 81"))
        return;
    proto::buildRequest(t.outReport, 0x81);
    t.queryResults({&byte1, &byte2});
}

// 82H
void getCurrentProfile(HidTransport &t, uchar &byte1)
{
    if (!t.beginCommand("cmd Failed 82"))
        return;
    proto::buildRequest(t.outReport, 0x82);
    t.queryResults({&byte1});
}

// 84H
void getCurrentDPI(HidTransport &t, uchar &byte1, uchar &byte2)
{
    if (!t.beginCommand("cmd Failed 84"))
        return;
    proto::buildRequest(t.outReport, 0x84, {byte1});
    t.queryResults({&byte1, &byte2});
}

// 01H
void setKeyboardoption(HidTransport &t, uchar byte1, uchar byte2)
{
    if (!t.beginWrite("cmd Failed 01"))
        return;
    t.endWrite(t.sendAndSettle(0x01, {byte1, byte2}));
}

// 03H
void setReportRate(HidTransport &t, uchar rate)
{
    if (!t.beginWrite("cmd Failed 03"))
        return;
    t.endWrite(t.sendPerPosition(0x03, rate));
}

// 04H
void setCurrentDPI(HidTransport &t, uchar stage)
{
    if (!t.beginWrite("cmd Failed 04"))
        return;
    t.endWrite(t.sendPerPosition(0x04, stage));
}

// 0DH
void setKeyMatrix(HidTransport &t, uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    if (!t.beginWrite("cmd Failed 0D"))
        return;
    uchar block[128] = {};
    std::memcpy(block, src64, 64);
    t.endWrite(t.sendWithPause(0x0D, {indexAddOne, 0x80}, block, 128));
}

// 0CH
void setProfile(HidTransport &t, uchar *src128, uchar profileData)
{
    if (!src128)
        return;
    if (!t.beginWrite("cmd Failed 0C"))
        return;
    t.endWrite(t.sendWithPause(0x0C, {profileData, 0x80}, src128, 128));
}

// 8CH
void readProfile(HidTransport &t, uchar *src128, uchar profileNo)
{
    if (!src128)
        return;
    if (!t.beginCommand("cmd Failed 8c"))
        return;
    proto::buildRequest(t.outReport, 0x8C, {profileNo});
    std::memset(t.inReport, 0, sizeof t.inReport);
    std::memcpy(t.bulkBuf, src128, 128);
    t.setLastReadOk(t.hidQuery(128));
    // Chunks read before a failure stay; the rest keeps the caller's bytes.
    std::memcpy(src128, t.bulkBuf, 128);
}

// 02H
void setCurrentProfile(HidTransport &t, uchar profile)
{
    if (!t.beginWrite("cmd Failed 02"))
        return;
    t.endWrite(t.sendAndSettle(0x02, {profile}));
}

// 0FH
void setMacroKey(HidTransport &t, uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    if (!t.beginWrite("cmd Failed 0F"))
        return;
    t.endWrite(t.sendWithPause(0x0F, {macroId, 0x80}, src128, 128));
}

} // namespace cmd560
