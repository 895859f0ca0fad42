// Manual mode as the window shows it: the position's scroll bars and labels, the stream of the
// position shown, the keys that move it, and the recording of positions and texts into a log in
// "Tracks" that the replay plays back.
#pragma once

#include "form/form_part.h"
#include "manual/manual_stream.h"
#include "manual/recording_log.h"
#include "replay/replay_options.h"

#include <string>
#include <vector>

namespace korvel {

class ManualPresenter : FormPart {
  public:
    // options: the sentences chosen; sink: where the stream's sentences go.
    ManualPresenter(const FormPart& part, const ReplayOptions& options, SentenceSink& sink);

    ManualStream& stream() { return stream_; }
    // One coordinate of the manual position in signed tenths of a second of arc (north and
    // east positive), as its bars and hemisphere show it; and setting it.
    long coordinateTenths(bool latitude) const;
    void setCoordinateTenths(bool latitude, long tenths);
    // A tick of manual mode: the position's sentences sent, the leg shown.
    void GenerateManualSentences();
    // The keys of manual mode: the arrows move the position in fine steps (Ctrl, Alt and Shift
    // make them larger), Enter records a text and the space bar the position.
    void keyDown(int key, int shift);
    void Form_KeyUp(int key, int shift);
    // The recording log closes.
    void closeLog() { recording_.close(); }

  private:
    void showManualControls(bool manual);
    void Manu_Click();
    void VSc1_Change(int index);
    void HSc1_Change(int index);
    void VSc2_Change();
    void VSc3_Change();
    void VSc4_Change();
    void SetFN_Click();
    void SaveP_Click();
    void SaveT_Click();
    // Signed minutes of arc as dddmm.mmmm without the sign, with the jitter toggle's 0.0001'.
    std::string FormatDegreesMinutes(double signedMinutes) const;
    // Writes the lines of one record to the recording log at once, whole or not at all.
    void record(const std::vector<std::string>& lines);

    const ReplayOptions& options_;
    SentenceSink& sink_;
    ManualStream stream_{s.trip, s.latest};
    RecordingLog recording_;
    long recordTime_ = 0; // seconds of the day stamped on the latest recorded point
    std::string lastRecordName_;
    bool ctrlHeld_ = false, altHeld_ = false;
};

} // namespace korvel
