#pragma once

#include <QtGlobal>

class HidTransport;

// The command set of the 560 family: each command frames its request and
// runs its exchange on the transport. Writes tell the transport's owner when
// the mouse did not take them; reads leave the caller's values where the
// exchange failed.
namespace cmd560 {

// 81H
void getKeyboardoption(HidTransport &t, uchar &byte1, uchar &byte2);
// 82H
void getCurrentProfile(HidTransport &t, uchar &byte1);
// 84H
void getCurrentDPI(HidTransport &t, uchar &byte1, uchar &byte2);
// 01H
void setKeyboardoption(HidTransport &t, uchar byte1, uchar byte2);
// 03H
void setReportRate(HidTransport &t, uchar rate);
// 04H
void setCurrentDPI(HidTransport &t, uchar stage);
// 0DH
void setKeyMatrix(HidTransport &t, uchar *src64, uchar indexAddOne);
// 0CH
void setProfile(HidTransport &t, uchar *src128, uchar profileData);
// 8CH
void readProfile(HidTransport &t, uchar *src128, uchar profileNo);
// 02H
void setCurrentProfile(HidTransport &t, uchar profile);
// 0FH
void setMacroKey(HidTransport &t, uchar macroId, uchar *src128);

} // namespace cmd560
