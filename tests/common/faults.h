#pragma once

// Faults of the file system that a test can bring about without special
// rights or mounts, on the calling thread:
// - DacOverrideDropped: file permissions apply even to root (CI runs the
//   tests as root, which otherwise reads and writes through a mode of 000).
// - FileSizeLimit: writes beyond a size fail (EFBIG), as on a full disk.

#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

class DacOverrideDropped
{
public:
    DacOverrideDropped()
    {
        if (geteuid() != 0 || !read(m_saved))
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = write(reduced);
    }
    ~DacOverrideDropped()
    {
        if (m_active)
            write(m_saved);
    }
    DacOverrideDropped(const DacOverrideDropped &) = delete;
    DacOverrideDropped &operator=(const DacOverrideDropped &) = delete;

private:
    static bool read(__user_cap_data_struct (&data)[2])
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(SYS_capget, &header, data) == 0;
    }
    static bool write(__user_cap_data_struct (&data)[2])
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(SYS_capset, &header, data) == 0;
    }
    __user_cap_data_struct m_saved[2] = {};
    bool m_active = false;
};

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_ok = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        if (m_ok) {
            rlimit limited = m_saved;
            limited.rlim_cur = bytes;
            m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
        }
    }
    ~FileSizeLimit()
    {
        if (m_ok)
            setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_ok; }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    bool m_ok = false;
    void (*m_oldHandler)(int) = SIG_DFL;
};
