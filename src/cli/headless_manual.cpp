#include "cli/headless_manual.h"

#include "cli/run_choices.h"
#include "output/port_entries.h"

#include <cmath>
#include <iostream>

namespace korvel {

namespace {

// "" when the window offers the interval in the mode it is in, else why not.
std::string intervalRefused(const Controls& c, const std::string& interval) {
    int option = IntervalOptionNamed(interval);
    if (interval != "max" && (option < 0 || c.Abstand[static_cast<size_t>(option)].enabled))
        return "";
    std::string offered;
    for (size_t i = 0; i < std::size(kIntervalNames); ++i)
        if (c.Abstand[i].enabled)
            offered += (offered.empty() ? "" : ", ") + std::string(kIntervalNames[i]);
    return "korvel: --interval " + interval + " is not offered in manual mode (" + offered + ")";
}

} // namespace

void ApplyManualOptions(MainForm& form, const std::string& port, const RunOptions& o) {
    Controls& c = form.c;
    if (!o.port.empty())
        c.PortC.listIndex.set(PortEntryIndex(port));
    if (o.sentences) {
        SentenceSet chosen = SentencesNamed(*o.sentences);
        for (size_t i = 0; i < c.Data.size(); ++i)
            c.Data[i].value.set(chosen.has(static_cast<Sentence>(i)) ? 1 : 0);
    }
    c.Lop.value.set(o.loop ? 1 : 0);
    c.Last.value.set(o.last ? 1 : 0);
    c.Equ.value.set(o.sameTimePos ? 1 : 0);
    c.AutoReset.value.set(o.autoReset ? 1 : 0);
    c.AutoSkip.value.set(o.autoSkip ? 1 : 0);
}

std::optional<int> StartManual(MainForm& form, const RunOptions& o) {
    form.c.Manu.value.set(1);
    if (std::string refused = intervalRefused(form.c, o.interval); !refused.empty()) {
        std::cerr << refused << "\n";
        return 2;
    }
    if (o.lat)
        form.setCoordinateTenths(true, std::lround(*o.lat * 36000));
    if (o.lon)
        form.setCoordinateTenths(false, std::lround(*o.lon * 36000));
    if (o.alt)
        form.c.VSc2.setValue(static_cast<int>(std::lround(*o.alt)));
    form.Skip1_Click();
    if (!form.c.Timer1.enabled())
        return 1;
    // The interval option of that name, as a user clicks it once the simulation runs, as its
    // start sets one second.
    if (int option = IntervalOptionNamed(o.interval); option >= 0)
        SelectOption(form.c.Abstand, static_cast<size_t>(option));
    return std::nullopt;
}

} // namespace korvel
