// The replay's choices kept with the settings: the interval, the sentence boxes, the loop and
// the same time and position for every sentence. A file without them, as older versions wrote,
// leaves each as the window starts with it.
#include "app/profile_file.h"
#include "form/transport_presenter.h"
#include "replay/replay_options.h"

namespace korvel {

namespace {

constexpr const char* kReplay = "Replay";
constexpr const char* kSentences = "Sentences";

// A flag other than 0 or 1 (a hand-edited file) is the box as it stands.
int readFlag(const ProfileFile& profile, const char* section, const char* key, int now) {
    long flag = profile.readInt(section, key, now);
    return flag == 0 || flag == 1 ? static_cast<int>(flag) : now;
}

} // namespace

void TransportPresenter::takeSettings(const ProfileFile& profile) {
    long interval = profile.readInt(kReplay, "Interval", -1);
    if (interval >= 0 && interval < static_cast<long>(c.Abstand.size()))
        SelectOption(c.Abstand, static_cast<size_t>(interval));
    for (size_t i = 0; i < c.Data.size(); ++i)
        c.Data[i].value.set(
            readFlag(profile, kSentences, kSentenceNames[i], c.Data[i].value.get()));
    c.Lop.value.set(readFlag(profile, kReplay, "Loop", c.Lop.value.get()));
    c.Equ.value.set(readFlag(profile, kReplay, "SameTimeAndPosition", c.Equ.value.get()));
}

void TransportPresenter::keepSettings(ProfileFile& profile) const {
    for (size_t i = 0; i < c.Abstand.size(); ++i)
        if (c.Abstand[i].value.get())
            profile.writeInt(kReplay, "Interval", static_cast<long>(i));
    profile.writeInt(kReplay, "Loop", c.Lop.value.get());
    profile.writeInt(kReplay, "SameTimeAndPosition", c.Equ.value.get());
    for (size_t i = 0; i < c.Data.size(); ++i)
        profile.writeInt(kSentences, kSentenceNames[i], c.Data[i].value.get());
}

} // namespace korvel
