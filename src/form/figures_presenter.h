// The figures of the record replayed, as the window shows them: its date and time in UTC or
// local time, speed, course, leg and trip, the trip's time, the altitude and its extremes and the
// loaded file's altitude profile, in the units the user chose.
#pragma once

#include "files/altitude_curve.h"
#include "form/form_part.h"
#include "replay/record_step.h"
#include "replay/record_time.h"

#include <optional>

namespace korvel {

class FiguresPresenter : FormPart {
  public:
    explicit FiguresPresenter(const FormPart& part);

    bool metric() const { return metric_; }
    // Whether times are shown in local time (1) or UTC (0), as the settings keep it.
    int timeReference() const { return timeReference_; }
    // The time reference and units the settings name.
    void takeSettings(int timeReference, bool metric);
    // The figures shown go blank; the units' labels name the units chosen.
    void ApplyUnits();
    // What a step's record shows of its motion and time.
    void show(const RecordStep& step);
    // Shows the date and time of a record, and the trip's time up to it.
    void ShowDateTime(const RecordTime& time, std::optional<long long> tripMinutes);
    // The altitude of the record, and the lowest and highest so far.
    void showAltitude(int metres);
    // The trip's figures shown go blank; restarted: only those the trip's restart ends.
    void clear();
    void tripRestarted();
    // Draws the loaded file's altitude over its records in DIA.
    void DrawAltitudeProfile(const AltitudeCurve& curve, long records);

  private:
    void TZdiff_Change();
    void UnitLabel_MouseDown();
    void Label2_Click();
    void Label7_Click();
    void MaxL_Click();
    // The next altitude shown is the lowest and the highest so far.
    void forgetAltitudeExtremes() {
        minAltitude_ = 9999;
        maxAltitude_ = 0;
    }

    bool metric_ = true;
    int timeReference_ = 0;
    int minAltitude_ = 9999;
    int maxAltitude_ = 0;
};

} // namespace korvel
