// A control property whose change by code raises the control's event, as a change by the user
// does: a check box's value raises its click, a scroll bar's value its change. Every control
// that behaves so keeps its value in one of these.
#pragma once

#include <functional>
#include <utility>

namespace korvel {

template <class T> class EventProperty {
  public:
    explicit EventProperty(T initial = T{}) : value_(std::move(initial)) {}

    const T& get() const { return value_; }
    // A different value is stored and then the event runs; the same value changes nothing.
    void set(T value) {
        if (value == value_)
            return;
        value_ = std::move(value);
        if (event)
            event();
    }

    // Stores without raising the event, as when a list is cleared or the window deselects
    // the other option buttons of a group.
    void reset(T value) { value_ = std::move(value); }

    std::function<void()> event;

  private:
    T value_;
};

} // namespace korvel
