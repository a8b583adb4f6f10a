// Device replies of any length and content, scrambled or not, through the
// device object and the bridge operations over it: the hidapi stand-in
// answers every open, transfer and read from the fuzzer's input.

#include <fuzzer/FuzzedDataProvider.h>

#include "bridge/deviceops.h"
#include "bridge/profilesettings.h"
#include "device/devicehost.h"
#include "device/hid_thread.h"
#include "device/protocolclock.h"
#include "fuzz_hidapi.h"
#include "fuzzcommon.h"

#include <QMap>
#include <cstring>

namespace {

class NoWaitClock : public ProtocolClock
{
public:
    void sleepMs(int) override {}
    void processEvents() override {}
};

class Host : public DeviceHost
{
public:
    QString ic;
    bool gun = false;
    QString icType() const override { return ic; }
    bool isGun() const override { return gun; }
    void setViewEnabled(bool) override {}
    void setCurrentDPI(int) override {}
    void showBalloon(const QString &, const QString &) override {}
};

class MemorySettings : public ProfileSettings
{
public:
    QVariantList list(const QString &key, bool) const override { return values.value(key); }
    void setList(const QString &key, const QVariantList &v) override { values.insert(key, v); }
    QMap<QString, QVariantList> values;
};

QVariantList intList(FuzzedDataProvider &in, int maxCount)
{
    QVariantList out;
    const int n = in.ConsumeIntegralInRange<int>(0, maxCount);
    for (int i = 0; i < n && in.remaining_bytes() > 0; ++i) {
        if (in.ConsumeBool())
            out << in.ConsumeIntegral<int>();
        else
            out << in.ConsumeFloatingPoint<double>();
    }
    return out;
}

void bytes(FuzzedDataProvider &in, uchar *buf, size_t n)
{
    std::memset(buf, 0, n);
    const std::string b = in.ConsumeBytesAsString(n);
    std::memcpy(buf, b.data(), b.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    NoWaitClock clock;
    Host host;
    host.ic = in.ConsumeBool() ? QStringLiteral("560") : QStringLiteral("553");
    host.gun = in.ConsumeBool();

    DeviceEntry entry;
    entry.path = QStringLiteral("fuzz:0");
    entry.path2 = in.ConsumeBool() ? QStringLiteral("fuzz:1") : QString();
    entry.reportLength = in.ConsumeBool() ? 32 : in.ConsumeIntegralInRange<int>(-2, 600);
    entry.isEncode = in.ConsumeBool();
    entry.sCode = QString::fromLatin1(in.ConsumeRandomLengthString(8).c_str());

    MemorySettings settings;
    {
        Hid_Thread hid;
        hid.setClock(&clock);
        hid.setOwner(&host);
        hid.deviceTable = {entry};
        hid.currentIndex = in.ConsumeIntegralInRange<int>(-1, 1);
        DeviceOps ops;
        ops.setHidProvider([&hid] { return &hid; });
        ops.setFactsProvider([&host] {
            DeviceFacts f;
            f.icType = host.ic;
            f.isGun = host.gun;
            f.isColorful = true;
            return f;
        });
        ops.setProfileSettings(&settings);
        fuzzhid::feed(&in);

        uchar a = 0, b = 0, c = 0, d = 0;
        uchar buf[128];
        for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
            switch (in.ConsumeIntegralInRange<int>(0, 31)) {
            case 0: hid.chkDeviceIsEnCode(in.ConsumeIntegralInRange<int>(-1, 2)); break;
            case 1: hid.hid553_00H_GetSecrecyCode(a, b, c, d); break;
            case 2: hid.hid553_83H_GetKeyboardoption(a, b, c, d); break;
            case 3: hid.hid560_81H_GetKeyboardoption(a, b); break;
            case 4: hid.hid560_82H_GetCurrentProfile(a); break;
            case 5: hid.hid560_84H_GetCurrentDPI(a, b); break;
            case 6: hid.hid553_8BH_GetCurrentDPI(a); break;
            case 7:
                bytes(in, buf, sizeof buf);
                hid.hid560_8CH_readProfile(buf, in.ConsumeIntegral<uchar>());
                break;
            case 8: hid.hid553_03H_SetKeyboardoption(a, b, c, d); break;
            case 9: hid.hid553_04H_SetGunData(a, b, c, d); break;
            case 10: hid.hid560_01H_SetKeyboardoption(a, b); break;
            case 11: hid.hid553_01H_SetReportRate(in.ConsumeIntegral<uchar>()); break;
            case 12: hid.hid560_03H_SetReportRate(in.ConsumeIntegral<uchar>()); break;
            case 13: hid.hid560_04H_SetCurrentDPI(in.ConsumeIntegral<uchar>()); break;
            case 14: hid.hid553_0BH_SetCurrentDPI(in.ConsumeIntegral<uchar>()); break;
            case 15:
                bytes(in, buf, 64);
                hid.hid553_12H_SetKeyMatrix(buf, in.ConsumeIntegral<uchar>());
                break;
            case 16:
                bytes(in, buf, 64);
                hid.hid560_0DH_SetKeyMatrix(buf, in.ConsumeIntegral<uchar>());
                break;
            case 17:
                bytes(in, buf, sizeof buf);
                hid.hid560_0CH_setProfile(buf, in.ConsumeIntegral<uchar>());
                break;
            case 18: hid.hid560_02H_SetCurrentProfile(in.ConsumeIntegral<uchar>()); break;
            case 19:
                bytes(in, buf, sizeof buf);
                if (in.ConsumeBool())
                    hid.hid553_13H_SetMacroKey(in.ConsumeIntegral<uchar>(), buf);
                else
                    hid.hid560_0FH_SetMacroKey(in.ConsumeIntegral<uchar>(), buf);
                break;
            case 20:
                bytes(in, buf, 8);
                hid.hid553_11H_SetDPISet(in.ConsumeIntegral<uchar>(), buf);
                break;
            case 21: hid.hid553_02H_SetCurrentKeyMatrix(in.ConsumeIntegral<uchar>()); break;
            case 22: hid.hid553_0DH_SetRGBLedEffect(a, b, c); break;
            case 23:
                bytes(in, buf, 3);
                hid.hid553_0CH_SetFixLEDColor(buf);
                break;
            case 24:
                bytes(in, buf, 24);
                hid.hid553_10H_SetLED8StageColor(in.ConsumeIntegral<uchar>(), buf);
                break;
            case 25:
                // The listener on this thread: it reads notification reports
                // until an open fails (at the latest when the input ends).
                hid.listening = 1;
                hid.listenLoop(uint(in.ConsumeIntegralInRange<int>(0, 1)));
                hid.hidCloseListen();
                break;
            case 26:
                // A check rebuilt the table.
                hid.deviceTable = {entry};
                hid.hidIdle = in.ConsumeBool() ? 1 : 0;
                break;
            case 27: ops.readProfile(in.ConsumeIntegralInRange<uint>(0, 6)); break;
            case 28: ops.currentDpi(); ops.readCurrentProfile(); ops.keyboardOption(); break;
            case 29: ops.sendGunData(in.ConsumeIntegralInRange<int>(0, 4), intList(in, 4)); break;
            case 30:
                ops.setKeyMatrix(intList(in, 70), true, intList(in, 4));
                break;
            case 31:
                ops.setDpi(in.ConsumeIntegralInRange<int>(-1, 9),
                           in.ConsumeBool() ? QStringLiteral("3389") : QStringLiteral("3360"), intList(in, 9));
                ops.setRgbColor(in.ConsumeIntegral<uchar>(), intList(in, 25));
                ops.sendMacroData(intList(in, 130), in.ConsumeIntegralInRange<int>(0, 16));
                break;
            }
        }
        fuzzhid::feed(nullptr);
        // The listener's queued effects run on this thread.
        QCoreApplication::processEvents();
    }
    return 0;
}
