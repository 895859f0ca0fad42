// What the domain asks of the window or the runner that hosts it.
#pragma once

namespace korvel {

class WindowHost {
  public:
    virtual ~WindowHost() = default;
    virtual void minimize() = 0;
    // Ends the program (all files and ports are closed by the ending).
    virtual void quit() = 0;
};

} // namespace korvel
