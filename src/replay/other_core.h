// Work shared with a second core starts there at once.
#pragma once

#include <thread>

namespace korvel {

// Lets a thread just made run on any core but the one of the calling thread. A new thread
// waits on its maker's core until the system moves it to an idle one, which on a virtual
// machine takes milliseconds: as long as the work it was made to share.
void MoveToAnotherCore(std::thread& thread);

} // namespace korvel
