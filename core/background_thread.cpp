#include "core/background_thread.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kalmo::core {

namespace {
constexpr int kBackgroundNice = 5; // how much a background thread yields
} // namespace

void yieldToTheGuiThread() {
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    // Linux keeps a nice value per thread: PRIO_PROCESS with a thread id sets only that one.
    const auto self = id_t(syscall(SYS_gettid));
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        setpriority(PRIO_PROCESS, self, std::min(nice + kBackgroundNice, 19));
}

} // namespace kalmo::core
