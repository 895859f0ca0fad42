// The window's form: the controls, and the presenters of its areas (the ports, the record's
// figures, the transport row, the file browser, manual mode and the download), which map the
// controls' clicks to calls of the simulator's objects and their results to captions, lists and
// colours. The form itself loads the file clicked, runs the replay's tick and stops it.
#pragma once

#include "app/settings_location.h"
#include "form/controls.h"
#include "form/download_presenter.h"
#include "form/figures_presenter.h"
#include "form/file_browser_presenter.h"
#include "form/form_state.h"
#include "form/manual_presenter.h"
#include "form/ports_presenter.h"
#include "form/transport_presenter.h"
#include "platform/platform.h"
#include "replay/replay_engine.h"

#include <functional>
#include <string>

namespace korvel {

class ProfileFile;

class MainForm {
  public:
    // programFolder: the folder of the program, where "Tracks" lies.
    MainForm(Platform& platform, std::string programFolder, SettingsLocation settings);
    ~MainForm() { closeAllFiles(); }
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    Controls c;
    FormState s;

    // Start and exit.
    void Form_Load();
    void ENDE_Click();
    void SAVE_Click();
    // Keeps the window's size with the settings, as the window closes.
    void SaveWindowSize();

    // The presenters of the form's areas, and the replay engine.
    PortsPresenter& ports() { return ports_; }
    ReplayEngine& engine() { return engine_; }
    ManualPresenter& manual() { return manual_; }
    DownloadPresenter& download() { return download_; }
    FileBrowserPresenter& files() { return files_; }
    FiguresPresenter& figures() { return figures_; }

    // Loading and moving in the replay file.
    void File1_Click();
    // False when the file ends before an RMC line.
    bool SkipToFirstRmc();
    void SeekRecord(double target);
    void RESTART_Click();

    // The replay tick.
    void Timer1_Timer();
    // The record (or manual position) of a step, at once.
    void ReplayStep();
    // Whether a tick has come whose step is not yet due.
    bool stepPending() const { return c.StepDue.enabled(); }
    void Timer2_Timer();
    void StopReplay(StopReason reason);
    void ResetTripDisplay();
    void SkipRecords(long count);

    // Back to the message list, as Escape goes.
    void Form_DblClick();

    // Escape everywhere; manual mode's keys.
    void Form_KeyDown(int key, int shift);

    // The replay file and the recording log close.
    void closeAllFiles();

  private:
    bool openReplayFile();
    // What the boxes show of a log or a track that was loaded.
    void showLogLoaded(bool completedFromGga);
    void showTrackLoaded(bool segments);
    void startReplay();
    // The load is refused: why, in the message list.
    void refuseLoad(const std::vector<std::string>& why);
    // What a step's record shows: the boxes of the kinds of sentence it met, its figures.
    void showStep(const RecordStep& step);
    void finishRecord();
    // The step a tick brought, now that it is due.
    void takeStep();
    // ReplayStep's record, whose failing destinations it tells once it is done.
    void stepRecord();
    // Applies change to the settings file and writes it; tells the user when it cannot.
    bool saveSettings(const std::function<void(ProfileFile&)>& change);
    void writeWindowSize(ProfileFile& profile) const;

    Platform& platform_;
    SettingsLocation settings_;
    ReplayEngine engine_{s.latest, s.trip, s.figures};
    int profileState_ = 0;          // 1 while the profile is read, 2 when the user asked it to stop
    std::int64_t lampDeadline_ = 0; // monotonic ms when the activity lamp goes out
    std::int64_t tickStart_ = 0;    // when the tick came whose step is due
    // What each presenter reaches of the form.
    const FormPart part_{*this, c, s, platform_};
    PortsPresenter ports_{part_};
    FiguresPresenter figures_{part_};
    DownloadPresenter download_{part_};
    FileBrowserPresenter files_{part_, settings_};
    ManualPresenter manual_{part_, engine_.options, ports_};
    TransportPresenter transport_{part_, engine_};
};

} // namespace korvel
