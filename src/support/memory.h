// Memory that is about to be written whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace tov {

// Asks the system to back the pages of `[data, data + size)` at once, in one
// call, instead of one page fault at a time as they are first written. A
// hint only: the bytes stay as they are, and nothing happens where the
// system cannot do it.
inline void backPagesNow(void* data, std::size_t size)
{
#ifdef MADV_POPULATE_WRITE
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    if (page == 0 || size < 16 * page) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}

// Backs the room of a buffer that is written from its start on, a stretch
// ahead of what is written so far: its pages are backed a few calls at a
// time, and room that is never written is never backed. Call it before each
// write with what the buffer holds and the room it has; the buffer must not
// move while it is filled.
class BackAhead {
public:
    void operator()(void* data, std::size_t used, std::size_t room)
    {
        if (used < backed_ || used >= room) return;
        const std::size_t end = room - used > kStretch ? used + kStretch : room;
        backPagesNow(static_cast<char*>(data) + used, end - used);
        backed_ = end;
    }

private:
    static constexpr std::size_t kStretch = 256 * 1024;
    std::size_t backed_ = 0;
};

}  // namespace tov
