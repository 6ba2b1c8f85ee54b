// Faults for the save tests, usable by root too (the tests run as root in
// CI, where no permission bit stops a write): a full disk (FileSizeLimit) and
// a user without root's power over files.
#pragma once

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/file_size_limit.h"

namespace tov::testing {

// The two capabilities that let root read and write any file whatever its
// permission bits and its folder's.
inline constexpr int kFileOverrideCapabilities[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};

// While in scope, the calling thread (on which the saves under test run) has
// no power over files beyond its permission bits: root loses
// CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH from its effective capabilities
// and gets them back at the end. For other users there is nothing to drop.
// Throws when root's capabilities cannot be changed, so that a test that
// cannot run fails instead of passing.
class WithoutFileOverride {
public:
    WithoutFileOverride()
    {
        if (::geteuid() != 0) return;
        if (!get(saved_)) throw std::runtime_error("capget failed: cannot drop root's file override");
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        for (int cap : kFileOverrideCapabilities) lowered[cap / 32].effective &= ~(1u << (cap % 32));
        if (!set(lowered)) throw std::runtime_error("capset failed: cannot drop root's file override");
        active_ = true;
    }
    ~WithoutFileOverride()
    {
        if (active_) set(saved_);
    }
    WithoutFileOverride(const WithoutFileOverride&) = delete;
    WithoutFileOverride& operator=(const WithoutFileOverride&) = delete;

private:
    static bool get(__user_cap_data_struct (&data)[2])
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capget, &header, data) == 0;
    }
    static bool set(__user_cap_data_struct (&data)[2])
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capset, &header, data) == 0;
    }
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

// For a program about to be started (in the child between fork and exec):
// drops the two capabilities from the bounding set, so that root runs the
// program without them. False when that is impossible.
inline bool dropFileOverrideForExec()
{
    if (::geteuid() != 0) return true;
    for (int cap : kFileOverrideCapabilities)
        if (::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0) return false;
    return true;
}

}  // namespace tov::testing
