// The transport row as the window shows it: pause and step, skips, back, seek by the record
// gauge, the segment jump, stop, loop, the last-record option, the intervals, the sentence boxes
// and their presets, and minimizing. It moves the replay through the form's loading and seeking.
#pragma once

#include "form/form_part.h"

namespace korvel {

class ProfileFile;
class ReplayEngine;

class TransportPresenter : FormPart {
  public:
    TransportPresenter(const FormPart& part, ReplayEngine& engine);

    void StopA_Click();
    // The interval, sentence boxes, loop and same time and position kept with the settings.
    void takeSettings(const ProfileFile& profile);
    void keepSettings(ProfileFile& profile) const;
    // Whether the user asked for one step while the replay pauses; asked once per step.
    bool takeStepOnce();

  private:
    void Pause_Click();
    void Skip1_Click();
    void Skip2_Click();
    void Back_Click();
    void Gauge2_MouseDown(double x);
    void AutoSkip_MouseDown();
    void AutoSkip_MouseUp();
    void AutoSkip_Click();
    void Lop_Click();
    void Last_Click();
    void Abstand_Click(int index);
    void RMCRMB_Click();
    void Command1_Click();
    void MinC_Click();

    ReplayEngine& engine_;
    bool stepOnce_ = false;
    int savedInterval_ = 0; // Timer1's interval when "last record only" was checked
};

} // namespace korvel
