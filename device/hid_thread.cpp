#include "hid_thread.h"

#include "commands553.h"
#include "commands560.h"
#include "devicehost.h"
#include "protocol.h"

#include <QDateTime>
#include <QDebug>
#include <array>
#include <cstring>
#include <memory>

namespace {

// Copies a caller's buffer into a queued command: the caller's memory may be
// gone by the time the command runs.
template <size_t N>
std::array<uchar, N> copyOf(const uchar *src)
{
    std::array<uchar, N> out{};
    std::memcpy(out.data(), src, N);
    return out;
}

// Queued writes of the same 560 profile record are merged (the record is a
// whole image: the latest one is all the mouse needs).
constexpr int kProfileRecordKey = 0x0C00;

} // namespace

Hid_Thread::Hid_Thread(QObject *parent)
    : QThread(parent)
{
    m_queue.deviceGone = [this] { return currentDeviceGone(); };
    m_queue.onDropped = [](int dropped) {
        qDebug("Device gone: %d queued commands dropped", dropped);
    };
    m_queue.onBusyChanged = [this] {
        Effect e;
        e.kind = Effect::BusyChanged;
        postEffect(e);
    };
}

Hid_Thread::~Hid_Thread()
{
    // The listener task uses this object; it must be gone before we are.
    stopListener();
    waitListener();
    m_queue.stop();
}

void Hid_Thread::startDeviceThread()
{
    m_queue.startWorker();
}

void Hid_Thread::stopDeviceThread()
{
    m_queue.stop();
}

bool Hid_Thread::lastReadOk() const
{
    if (m_queue.threaded() && !m_queue.onWorker())
        return m_callerReadOk;
    return HidTransport::lastReadOk();
}

void Hid_Thread::write(DeviceQueue::Job job, int mergeKey)
{
    m_queue.post(std::move(job), mergeKey);
}

bool Hid_Thread::read(const DeviceQueue::Job &job)
{
    if (!m_queue.threaded() || m_queue.onWorker()) {
        job();
        return true;
    }
    auto ok = std::make_shared<bool>(false);
    const bool ran = m_queue.call([this, job, ok] {
        job();
        *ok = lastQueryOk;
    }, ReadWaitMs);
    m_callerReadOk = ran && *ok;
    return ran;
}

void Hid_Thread::writeFailed()
{
    // The owner lives on the GUI thread.
    if (QThread::currentThread() == thread()) {
        HidTransport::writeFailed();
        return;
    }
    Effect e;
    e.kind = Effect::WriteFailed;
    postEffect(e);
}

// ---------------------------------------------------------------- framing

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return proto::checksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    proto::scrambleBlock(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    proto::unscrambleBlock(FIFOBuf, SecrecyCode);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    auto answered = std::make_shared<bool>(false);
    read([this, index, answered] {
        currentIndex = index;
        uchar sent[4];
        proto::handshakeBytes(QDateTime::currentSecsSinceEpoch(), sent);
        {
            std::lock_guard<std::mutex> lock(pathLock);
            if (index >= 0 && index < deviceTable.size())
                proto::applyCodeText(deviceTable.at(index).sCode, SecrecyCode);
        }
        uchar echo[4] = {sent[0], sent[1], sent[2], sent[3]};
        lastQueryOk = false;
        cmd553::getSecrecyCode(*this, echo[0], echo[1], echo[2], echo[3]);
        // Without a completed exchange the bytes were never echoed, whatever
        // they hold now.
        *answered = lastQueryOk && std::memcmp(echo, sent, 4) == 0;
    });
    return *answered;
}

// ---------------------------------------------------------------- commands
// Reads run on the device thread and hand their values back; writes take
// copies of their data and go out in order.

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    auto v = std::make_shared<std::array<uchar, 4>>(std::array<uchar, 4>{byte1, byte2, byte3, byte4});
    if (read([this, v] { cmd553::getSecrecyCode(*this, (*v)[0], (*v)[1], (*v)[2], (*v)[3]); })) {
        byte1 = (*v)[0];
        byte2 = (*v)[1];
        byte3 = (*v)[2];
        byte4 = (*v)[3];
    }
}

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    auto out = std::make_shared<std::array<uchar, 4>>(std::array<uchar, 4>{byte1, byte2, byte3, byte4});
    if (read([this, out] { cmd553::getKeyboardoption(*this, (*out)[0], (*out)[1], (*out)[2], (*out)[3]); })) {
        byte1 = (*out)[0];
        byte2 = (*out)[1];
        byte3 = (*out)[2];
        byte4 = (*out)[3];
    }
}

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar &byte1, uchar &byte2)
{
    auto out = std::make_shared<std::array<uchar, 2>>(std::array<uchar, 2>{byte1, byte2});
    if (read([this, out] { cmd560::getKeyboardoption(*this, (*out)[0], (*out)[1]); })) {
        byte1 = (*out)[0];
        byte2 = (*out)[1];
    }
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar &byte1)
{
    auto out = std::make_shared<uchar>(byte1);
    if (read([this, out] { cmd560::getCurrentProfile(*this, *out); }))
        byte1 = *out;
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar &byte1, uchar &byte2)
{
    auto out = std::make_shared<std::array<uchar, 2>>(std::array<uchar, 2>{byte1, byte2});
    if (read([this, out] { cmd560::getCurrentDPI(*this, (*out)[0], (*out)[1]); })) {
        byte1 = (*out)[0];
        byte2 = (*out)[1];
    }
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar &byte1)
{
    auto out = std::make_shared<uchar>(byte1);
    if (read([this, out] { cmd553::getCurrentDPI(*this, *out); }))
        byte1 = *out;
}

void Hid_Thread::hid560_8CH_readProfile(uchar *src128, uchar profileNo)
{
    if (!src128)
        return;
    auto buf = std::make_shared<std::array<uchar, 128>>(copyOf<128>(src128));
    if (read([this, buf, profileNo] { cmd560::readProfile(*this, buf->data(), profileNo); }))
        std::memcpy(src128, buf->data(), 128);
}

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    write([=] { cmd553::setKeyboardoption(*this, byte1, byte2, byte3, byte4); });
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    write([=] { cmd553::setGunData(*this, byte1, byte2, byte3, byte4); });
}

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    write([=] { cmd560::setKeyboardoption(*this, byte1, byte2); });
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    write([=] { cmd553::setReportRate(*this, rate); });
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    write([=] { cmd560::setReportRate(*this, rate); });
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    write([=] { cmd560::setCurrentDPI(*this, stage); });
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    write([=] { cmd553::setCurrentDPI(*this, stage); });
}

void Hid_Thread::hid553_12H_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    write([this, b = copyOf<64>(src64), indexAddOne]() mutable {
        cmd553::setKeyMatrix(*this, b.data(), indexAddOne);
    });
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(uchar *src64, uchar indexAddOne)
{
    if (!src64)
        return;
    write([this, b = copyOf<64>(src64), indexAddOne]() mutable {
        cmd560::setKeyMatrix(*this, b.data(), indexAddOne);
    });
}

void Hid_Thread::hid560_0CH_setProfile(uchar *src128, uchar profileData)
{
    if (!src128)
        return;
    write([this, b = copyOf<128>(src128), profileData]() mutable {
        cmd560::setProfile(*this, b.data(), profileData);
    }, kProfileRecordKey | profileData);
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    write([=] { cmd560::setCurrentProfile(*this, profile); });
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    write([this, b = copyOf<128>(src128), macroId]() mutable {
        cmd553::setMacroKey(*this, macroId, b.data());
    });
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar *src128)
{
    if (!src128)
        return;
    write([this, b = copyOf<128>(src128), macroId]() mutable {
        cmd560::setMacroKey(*this, macroId, b.data());
    });
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar *src8)
{
    if (!src8)
        return;
    write([this, b = copyOf<8>(src8), dpiStage]() mutable {
        cmd553::setDPISet(*this, dpiStage, b.data());
    });
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    write([=] { cmd553::setCurrentKeyMatrix(*this, currentKeyMatrix); });
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    write([=] { cmd553::setRGBLedEffect(*this, effect, option1, option2); });
}

void Hid_Thread::hid553_0CH_SetFixLEDColor(uchar *src3)
{
    if (!src3)
        return;
    write([this, b = copyOf<3>(src3)]() mutable { cmd553::setFixLEDColor(*this, b.data()); });
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    if (!src24)
        return;
    write([this, b = copyOf<24>(src24), type]() mutable {
        cmd553::setLED8StageColor(*this, type, b.data());
    });
}
