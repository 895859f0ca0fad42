#include "replay/other_core.h"

#include <pthread.h>
#include <sched.h>

namespace korvel {

void MoveToAnotherCore(std::thread& thread) {
    cpu_set_t cores;
    int here = sched_getcpu();
    if (here < 0 || sched_getaffinity(0, sizeof cores, &cores) != 0 || !CPU_ISSET(here, &cores) ||
        CPU_COUNT(&cores) < 2)
        return; // one core, or none known: the thread runs where the system puts it
    CPU_CLR(here, &cores);
    pthread_setaffinity_np(thread.native_handle(), sizeof cores, &cores);
}

} // namespace korvel
