// The controls of the window as plain objects: what the user sees is what these hold, and the
// window only shows them and reports the user's actions.
#pragma once

#include "form/event_property.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvel {

// Colours as &HBBGGRR values.
using Color = std::uint32_t;
constexpr Color RGB(int r, int g, int b) {
    return static_cast<Color>(r) | static_cast<Color>(g) << 8 | static_cast<Color>(b) << 16;
}
constexpr Color kSystemColor = 0x80000000; // the system's own colour for the control's kind
constexpr Color kGrey = 0xC0C0C0;
constexpr Color kMagenta = RGB(255, 0, 255);
constexpr Color kGreen = 0xFF00;
constexpr Color kDarkGreen = 0x8000;
constexpr Color kRed = 0xFF;
constexpr Color kDarkYellow = 0xC0C0;

struct Control {
    std::string name; // as the user knows it: "Skip1", "Data(3)"
    std::string caption;
    std::string toolTip;
    bool visible = true;
    bool enabled = true;
    Color backColor = kSystemColor;
    Color foreColor = kSystemColor;
    int left = 0; // twips from the left edge of its container
};

// A label; some take a click (the unit and time-reference labels).
struct Label : Control {
    std::function<void()> onClick;
};

struct Image : Control {
    std::function<void()> onClick;
};
using Shape = Control;
using Frame = Control;

struct CommandButton : Control {
    std::function<void()> onClick;
};

struct CheckBox : Control {
    EventProperty<int> value; // 0 or 1; a change raises the click event
    // A click by the user: the button goes down, the value changes, the button comes up.
    std::function<void()> onMouseDown, onMouseUp;
};

struct OptionButton : Control {
    EventProperty<bool> value; // becoming true raises the click event
};

// Selects one option button of a group; the others are cleared without their events.
template <size_t N> void SelectOption(std::array<OptionButton, N>& group, size_t index) {
    for (size_t i = 0; i < N; ++i)
        if (i != index)
            group[i].value.reset(false);
    group[index].value.set(true);
}

struct ScrollBar : Control {
    int min = 0; // the top or left end
    int max = 32767;
    EventProperty<int> value; // a change raises the change event
    // Kept within the bar's range, as the user could not move it further.
    void setValue(int v);
};

// Mouse buttons as the mouse events report them.
enum MouseButton { kLeftButton = 1, kRightButton = 2 };

struct ListBox : Control {
    std::vector<std::string> items;
    int listIndex = -1; // the selected entry
    std::function<void(int button)> onMouseDown;
    void addItem(std::string item) { items.push_back(std::move(item)); }
    void clear() {
        items.clear();
        listIndex = -1;
    }
};

// A drop-down list whose selection raises the click event.
struct ComboBox : Control {
    std::vector<std::string> items;
    // What the list shows of each item (the item itself when empty), and the items it leaves
    // out unless selected: a port with its device, a port the machine does not have.
    std::vector<std::string> labels;
    std::vector<bool> hidden;
    EventProperty<int> listIndex{-1};
    void addItem(std::string item, std::string label = "", bool hide = false) {
        items.push_back(std::move(item));
        labels.push_back(std::move(label));
        hidden.push_back(hide);
    }
    // What the list shows of item i.
    const std::string& shown(size_t i) const {
        return i < labels.size() && !labels[i].empty() ? labels[i] : items[i];
    }
    bool isHidden(size_t i) const { return i < hidden.size() && hidden[i]; }
    // The first n items alone.
    void keepFirst(size_t n);
    void clear();
    // Text of the selected entry, "" when none is selected.
    const std::string& text() const {
        int i = listIndex.get();
        return i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<size_t>(i)] : kNone;
    }

  private:
    static inline const std::string kNone;
};

struct TextBox : Control {
    EventProperty<std::string> text; // a change raises the change event
};

// The files of a folder that match a pattern list; setting either lists the folder again.
struct FileListBox : Control {
    const std::string& path() const { return path_; }
    const std::string& pattern() const { return pattern_; }
    void setPath(std::string path);
    void setPattern(std::string pattern);
    // Lists the folder again, keeping the selected name where it is still listed.
    void refresh();
    // Lists name alone, selected, whatever it holds (a ";", blanks around it, wildcards): a
    // file chosen by its path, which no pattern may be able to say.
    void showOnly(std::string name);
    // The selected file's name, "" when none is selected.
    std::string fileName() const;

    std::vector<std::string> items; // sorted by name
    int listIndex = -1;
    std::function<void()> onClick; // a file was clicked
    std::function<void(int button)> onMouseDown;

  private:
    std::string path_;
    std::string pattern_ = "*";
};

// The folders to go to from path: its parent ("..") and its subfolders, sorted by name.
struct DirListBox : Control {
    EventProperty<std::string> path; // a change raises the change event
    std::vector<std::string> items;
    void refresh();
    // The folder an entry leads to.
    std::string folderOf(const std::string& item) const;
};

struct DriveListBox : Control {
    std::vector<std::string> items;
    EventProperty<std::string> drive; // a change raises the change event
};

struct Gauge : Control {
    int max = 100;
    int value = 0;
    int style = 0;
    int width = 1; // in the unit that click positions are reported in
    std::function<void(double x)> onMouseDown;
};

// A drawing surface with a user scale; it keeps what was drawn for the view to paint.
struct PictureBox : Control {
    struct Op {
        enum Kind { Line, Text } kind;
        double x1, y1, x2, y2;
        Color color;
        std::string text;
        int width = 1;
    };
    double scaleLeft = 0, scaleTop = 0, scaleWidth = 1, scaleHeight = 1;
    std::vector<Op> ops;
    void cls() { ops.clear(); }
    void line(double x1, double y1, double x2, double y2, Color color, int width = 1) {
        ops.push_back({Op::Line, x1, y1, x2, y2, color, {}, width});
    }
    void print(double x, double y, std::string text, Color color) {
        ops.push_back({Op::Text, x, y, x, y, color, std::move(text), 1});
    }
};

// A window timer. Whoever keeps time (the event loop, or a test's virtual clock) is told of
// every change through onChanged and calls onTimer when the interval has passed.
struct Timer {
    std::string name;
    std::function<void()> onTimer;
    std::function<void()> onChanged;
    bool enabled() const { return enabled_; }
    int interval() const { return interval_; }
    void setEnabled(bool on);
    void setInterval(int ms);

  private:
    bool enabled_ = false;
    int interval_ = 0;
};

} // namespace korvel
