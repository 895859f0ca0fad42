#include "support/virtual_platform.h"

#include <algorithm>
#include <chrono>

namespace korvel::test {

LocalDateTime VirtualClock::utcNow() const {
    using namespace std::chrono;
    sys_seconds at = sys_days(year(start_.year) / start_.month / start_.day) + hours(start_.hour) +
                     minutes(start_.minute) + seconds(start_.second) + seconds(nowMs_ / 1000);
    sys_days day = floor<days>(at);
    year_month_day date(day);
    hh_mm_ss time(at - day);
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count()),
            static_cast<int>(weekday(day).c_encoding()) + 1};
}

void VirtualClock::attach(Timer& timer) {
    timer.onChanged = [this, &timer] { rearm(timer); };
    rearm(timer);
}

void VirtualClock::rearm(Timer& timer) {
    std::erase_if(armed_, [&](const Armed& a) { return a.timer == &timer; });
    if (timer.enabled() && timer.interval() > 0)
        armed_.push_back({&timer, nowMs_ + timer.interval()});
}

std::vector<VirtualClock::Armed>::iterator VirtualClock::nextDue() {
    return std::min_element(armed_.begin(), armed_.end(),
                            [](const Armed& a, const Armed& b) { return a.due < b.due; });
}

void VirtualClock::advance(std::int64_t ms) {
    const std::int64_t end = nowMs_ + ms;
    while (true) {
        auto next = nextDue();
        if (next == armed_.end() || next->due > end)
            break;
        Timer* timer = next->timer;
        nowMs_ = std::max(nowMs_, next->due);
        next->due = nowMs_ + timer->interval();
        if (timer->onTimer)
            timer->onTimer();
    }
    nowMs_ = std::max(nowMs_, end);
}

Timer* VirtualClock::fireNext() {
    auto next = nextDue();
    if (next == armed_.end())
        return nullptr;
    Timer* timer = next->timer;
    advance(std::max<std::int64_t>(0, next->due - nowMs_));
    return timer;
}

bool FakeSerialPort::open(std::string& error) {
    if (failOpen) {
        error = deviceName() + ": no such device";
        return false;
    }
    open_ = true;
    ++opens;
    return true;
}

int FakeSerialPort::inputByte() {
    if (incoming.empty())
        return -1;
    int b = incoming.front();
    incoming.pop_front();
    return b;
}

bool FakeSocketArray::listen(const std::string& address, int port, std::string& error) {
    if (failListen) {
        error = "Address already in use";
        return false;
    }
    listenAddress = address;
    listenPort = port;
    states_[0] = kSocketListening;
    return true;
}

void FakeSocketArray::accept(int index, long) {
    states_[index] = kSocketConnected;
}

int FakeSocketArray::state(int index) const {
    auto it = states_.find(index);
    return it == states_.end() ? kSocketClosed : it->second;
}

bool FakeSocketArray::sendData(int index, const std::string&) {
    return state(index) == kSocketConnected;
}

void FakeSocketArray::close(int index) {
    auto it = states_.find(index);
    if (it != states_.end())
        it->second = kSocketClosed;
}

bool FakePortIO::available(std::string& why) {
    if (!allowed)
        why = "direct port access is not available";
    return allowed;
}

bool FakePrinters::write(const std::string& name, const std::string& bytes, std::string& error) {
    if (fail) {
        error = name + ": cannot open";
        return false;
    }
    jobs[name].push_back(bytes);
    return true;
}

MessageAnswer ScriptedDialogs::messageBox(const std::string& text, const std::string& title,
                                          MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, title, icon});
    if (!answers.empty()) {
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
               ? MessageAnswer::Yes
               : MessageAnswer::Ok;
}

std::optional<std::string> ScriptedDialogs::inputBox(const std::string&, const std::string&,
                                                     const std::string&) {
    if (inputs.empty())
        return std::nullopt;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

} // namespace korvel::test
