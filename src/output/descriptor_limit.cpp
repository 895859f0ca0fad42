#include "output/descriptor_limit.h"

#include <algorithm>
#include <sys/resource.h>

namespace korvel {

int TcpClientsThatFit(int wanted) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return std::max(1, wanted);
    rlim_t needed = static_cast<rlim_t>(wanted) + kDescriptorsKept;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        limit.rlim_cur =
            limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed)
        return std::max(1, wanted);
    return std::max(1, static_cast<int>(limit.rlim_cur) - kDescriptorsKept);
}

} // namespace korvel
