// Every control of the main window, named as the user knows them.
#pragma once

#include "form/control.h"

#include <array>
#include <functional>

namespace korvel {

// FileL's tool tip while it names the file replayed; a recording says its log's place there.
constexpr const char* kFileReplayedTip = "The file replayed";

struct Controls {
    Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // File browser.
    DriveListBox Drive1;
    DirListBox Dir1;
    FileListBox File1;
    TextBox FileT;
    CommandButton NMEA, ALL, TRACK, LOA, SAVE, DirSel, DownloadC;
    Label Label12;
    // The file menu, shown as a pop-up over the file list while fileMenuShown is set.
    CommandButton MRen, MDel, Mcan;
    bool fileMenuShown = false;

    // Messages.
    ListBox List1;

    // Instruments.
    ScrollBar TZdiff;
    Label TZL, Label2, Label7, Zeit, Datum, WtL, TTL, SpeedL, NNL, FileL;
    Gauge Gauge1;
    PictureBox DIA;

    // Transport.
    CheckBox Pause, AutoSkip, Lop, Last, MinC, AutoReset;
    Label PauseL, AutoL, LoopL;
    CommandButton Skip1, Skip2, Back, RESTART, RMCRMB, Command1;
    Gauge Gauge2;
    Image StopA, RunA, MiniA;
    Frame Interval;
    std::array<OptionButton, 8> Abstand;

    // Output.
    ComboBox PortC;
    std::array<OptionButton, 2> Pspeed;
    ComboBox BaudC; // every rate a serial port takes, the two buttons' among them
    Shape TCPstat;
    CheckBox TcpLan;
    TextBox TcpPortT; // the TCP server's port; Enter moves the server to it
    Label PortL;

    // Sentence boxes and modes.
    std::array<CheckBox, 7> Data;
    CheckBox Manu, Equ;

    // Manual position, altitude, speed and Auto-Point step.
    std::array<ScrollBar, 4> VSc1, HSc1;
    ScrollBar VSc2, VSc3, VSc4;
    Label ggn, mmn, ssn, kkn, ggo, mmo, sso, kko, nnM, kmhM, AutoM;
    CommandButton SetFN, SaveP, SaveT;

    // Units and trip statistics.
    Label Label3, Label6, Label9, Label16, MaxL, NNminL, NNmaxL, DistL, TripL;

    CommandButton ENDE;

    Timer Timer1, Timer2, Timer3, Timer4;
    // The step a tick of Timer1 brings, due a moment after the tick.
    Timer StepDue;
    // The window tucked away a second after a run starts, when the minimize box asks; the
    // white flash of the save button ended.
    Timer MinimizeDue, FlashEnds;

    // The control that has the keyboard focus, by name.
    std::string focus;

    // Every named control once, for the view and for tests that look controls up by name.
    void forEach(const std::function<void(Control&)>& visit);
    std::array<Timer*, 7> timers() {
        return {&Timer1, &Timer2, &Timer3, &Timer4, &StepDue, &MinimizeDue, &FlashEnds};
    }

  private:
    void toolTipsOfSymbolsAndValues();
};

} // namespace korvel
