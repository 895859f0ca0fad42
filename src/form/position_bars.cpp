// The scroll bars of manual mode set the manual position, and its labels show it.
#include "form/main_form.h"
#include "form/manual_presenter.h"
#include "text/conversions.h"

#include <cstdlib>

namespace korvel {

namespace {

// Degrees, minutes, seconds and tenths of one coordinate; the tenths label ends with the
// hemisphere letter.
void showCoordinate(int index, int v, const char* degreesPattern, char positive, char negative,
                    Label& degrees, Label& minutes, Label& seconds, Label& tenths) {
    switch (index) {
    case 0:
        // The bar at 0 degrees stands for north or east; a position set as a whole (keys,
        // settings, command line) can name the other side at 0 degrees.
        degrees.caption = Format(v < 0 ? -v : v, degreesPattern) + " \xc2\xb0";
        if (!tenths.caption.empty())
            tenths.caption.back() = v < 0 ? negative : positive;
        break;
    case 1:
        minutes.caption = Format(v, "00") + " '";
        break;
    case 2:
        seconds.caption = Format(v, "00") + " \"";
        break;
    default:
        tenths.caption = "." + Plain(v) + Right(tenths.caption, 2);
        break;
    }
}

} // namespace

void ManualPresenter::VSc1_Change(int index) {
    stream_.position.latitude.setPart(index, c.VSc1[index].value.get());
    showCoordinate(index, c.VSc1[index].value.get(), "00", 'N', 'S', c.ggn, c.mmn, c.ssn, c.kkn);
    stream_.moved |= 1;
}

void ManualPresenter::HSc1_Change(int index) {
    stream_.position.longitude.setPart(index, c.HSc1[index].value.get());
    showCoordinate(index, c.HSc1[index].value.get(), "000", 'E', 'W', c.ggo, c.mmo, c.sso, c.kko);
    stream_.moved |= 2;
}

long ManualPresenter::coordinateTenths(bool latitude) const {
    return (latitude ? stream_.position.latitude : stream_.position.longitude).signedTenths();
}

void ManualPresenter::setCoordinateTenths(bool latitude, long tenths) {
    std::array<ScrollBar, 4>& bars = latitude ? c.VSc1 : c.HSc1;
    long magnitude = std::abs(tenths);
    int degrees = static_cast<int>(magnitude / 36000);
    bars[0].setValue(tenths < 0 ? -degrees : degrees);
    bars[1].setValue(static_cast<int>(magnitude / 600 % 60));
    bars[2].setValue(static_cast<int>(magnitude / 10 % 60));
    bars[3].setValue(static_cast<int>(magnitude % 10));
    // The bars' events took the parts; at 0 degrees only the position says the hemisphere.
    (latitude ? stream_.position.latitude : stream_.position.longitude).negative = tenths < 0;
    std::string& side = (latitude ? c.kkn : c.kko).caption;
    if (!side.empty())
        side.back() = tenths < 0 ? (latitude ? 'S' : 'W') : (latitude ? 'N' : 'E');
}

void ManualPresenter::VSc2_Change() {
    int v = stream_.position.altitude = c.VSc2.value.get();
    c.nnM.caption = Plain(v) + " m NN";
    c.nnM.toolTip = Plain(Round(Val(c.nnM.caption) * 3.281)) + " ft";
}

void ManualPresenter::VSc3_Change() {
    int v = stream_.position.kmh = c.VSc3.value.get();
    c.kmhM.caption = Plain(v) + " km/h";
    c.kmhM.toolTip = Plain(Round(v * 0.6214)) + " mi";
}

void ManualPresenter::VSc4_Change() {
    static const char* const steps[] = {"-",     "10 m",  "20 m",   "50 m",   "100 m",
                                        "200 m", "500 m", "1000 m", "2000 m", "5000 m"};
    int v = c.VSc4.value.get();
    if (v >= 0 && v < 10)
        c.AutoM.caption = steps[v];
    double metres = Val(c.AutoM.caption);
    c.AutoM.toolTip =
        !form.figures().metric() ? "Auto-Point " + Plain(metres * 3) + " ft" : "Auto-Point";
    if (metres == 0)
        c.AutoM.toolTip = "Auto-Point off";
}

} // namespace korvel
