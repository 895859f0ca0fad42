#include "form/controls.h"

#include "output/port_entries.h"
#include "replay/replay_options.h"

namespace korvel {

namespace {

void name(Control& c, std::string n, std::string caption = "", std::string toolTip = "") {
    c.name = std::move(n);
    c.caption = std::move(caption);
    c.toolTip = std::move(toolTip);
}

template <class T, size_t N> void nameArray(std::array<T, N>& controls, const std::string& n) {
    for (size_t i = 0; i < N; ++i)
        controls[i].name = n + "(" + std::to_string(i) + ")";
}

void bar(ScrollBar& b, int min, int max, int value) {
    b.min = min;
    b.max = max;
    b.value.reset(value);
}

} // namespace

Controls::Controls() {
    name(Drive1, "Drive1");
    name(Dir1, "Dir1");
    name(File1, "File1");
    name(FileT, "FileT");
    name(NMEA, "NMEA", "NMEA");
    name(ALL, "ALL", "ALL");
    name(TRACK, "TRACK", "TRACK");
    name(LOA, "LOA", "LOAD");
    name(SAVE, "SAVE", "SAVE", "Save Fileselection");
    name(DirSel, "DirSel", "Dir");
    name(List1, "List1", "", "NMEA-out");
    Drive1.visible = false;
    Dir1.visible = false;

    name(TZdiff, "TZdiff");
    bar(TZdiff, 12, -12, 1);
    name(TZL, "TZL", "+1");
    name(Label2, "Label2", "UTC");
    name(Label7, "Label7", "LOC");
    name(Zeit, "Zeit");
    name(Datum, "Datum");
    name(WtL, "WtL");
    name(TTL, "TTL");
    name(SpeedL, "SpeedL");
    name(NNL, "NNL");
    name(FileL, "FileL");
    name(Gauge1, "Gauge1");
    Gauge1.max = 360;
    Gauge1.style = 50;
    name(DIA, "DIA", "", "Altitude");

    name(Pause, "Pause");
    name(AutoSkip, "AutoSkip");
    name(Lop, "Lop");
    name(Last, "Last", ">", "only the last record, every 6 s (a file still being written)");
    name(MinC, "MinC", "", "minimize");
    name(AutoReset, "AutoReset", "", "New-Track Reset");
    name(PauseL, "PauseL", "Wait", "Pause");
    name(AutoL, "AutoL", "Skip", "AutoSkip");
    name(LoopL, "LoopL", "Loop", "Loop");
    PauseL.visible = AutoL.visible = LoopL.visible = false;
    name(Skip1, "Skip1", "->", "Start");
    name(Skip2, "Skip2", ">>", "Skip 100");
    name(Back, "Back", "<", "Back 50");
    name(RESTART, "RESTART", "|<", "Restart");
    name(RMCRMB, "RMCRMB", "-", "only RMC/GGA");
    name(Command1, "Command1", "+", "all GPS-Data");
    name(Gauge2, "Gauge2", "", "Records");
    name(StopA, "StopA", "", "Halt");
    name(RunA, "RunA", "", "running");
    name(MiniA, "MiniA", "", "minimize");
    StopA.visible = RunA.visible = MiniA.visible = false;
    name(Interval, "Interval", "Interval", "Time-Interval");
    nameArray(Abstand, "Abstand");
    const char* intervals[] = {"x 8", "x 4", "x 2", "cont", "1 s", "2 s", "4 s", "8 s"};
    for (size_t i = 0; i < Abstand.size(); ++i)
        Abstand[i].caption = intervals[i];
    Abstand[4].value.reset(true);

    name(PortC, "PortC", "", "Out-Port");
    nameArray(Pspeed, "Pspeed");
    Pspeed[0].caption = "4800";
    Pspeed[1].caption = "9600";
    Pspeed[0].toolTip = Pspeed[1].toolTip = "Baud";
    Pspeed[0].value.reset(true);
    name(BaudC, "BaudC", "", "Baud: every rate the serial port takes");
    for (const char* rate : kBaudRates)
        BaudC.addItem(rate);
    BaudC.listIndex.reset(2); // 4800, as the first button
    name(TCPstat, "TCPstat");
    TCPstat.visible = false;
    name(PortL, "PortL", "Port");
    name(TcpLan, "TcpLan", "LAN",
         "TCP: serve the network too, not only programs on this computer (no password)");
    TcpLan.visible = false;
    name(TcpPortT, "TcpPortT", "", "TCP: the server's port; Enter moves the server to it");
    TcpPortT.visible = false;

    nameArray(Data, "Data");
    const char* tips[] = {"$GPRMC", "$GPGGA", "$GPVTG", "$GPRMB", "$GPGSA", "$GPGSV", "other"};
    for (size_t i = 0; i < Data.size(); ++i) {
        Data[i].caption = kSentenceNames[i];
        Data[i].toolTip = tips[i];
        Data[i].value.reset(i < 3 ? 1 : 0);
    }
    Data[0].foreColor = Data[2].foreColor = Data[6].foreColor = kMagenta;
    name(Manu, "Manu", "Manual");
    name(Equ, "Equ", "all NMEA same Time & Pos.");
    name(DownloadC, "DownloadC", "Garmin");

    nameArray(VSc1, "VSc1");
    nameArray(HSc1, "HSc1");
    bar(VSc1[0], 89, -89, 48);
    bar(VSc1[1], 59, 0, 5);
    bar(VSc1[2], 59, 0, 44);
    bar(VSc1[3], 9, 0, 7);
    bar(HSc1[0], -179, 179, 11);
    bar(HSc1[1], 0, 59, 38);
    bar(HSc1[2], 0, 59, 11);
    bar(HSc1[3], 0, 9, 7);
    name(VSc2, "VSc2");
    bar(VSc2, 2000, 0, 550);
    name(VSc3, "VSc3");
    bar(VSc3, 200, 0, 50);
    name(VSc4, "VSc4");
    bar(VSc4, 10, 0, 1);

    name(ggn, "ggn");
    name(mmn, "mmn");
    name(ssn, "ssn");
    name(kkn, "kkn", ".7 N");
    name(ggo, "ggo");
    name(mmo, "mmo");
    name(sso, "sso");
    name(kko, "kko", ".7 E");
    name(nnM, "nnM");
    name(kmhM, "kmhM");
    name(AutoM, "AutoM");
    name(Label3, "Label3", "km/h");
    name(Label6, "Label6", "km ->");
    name(Label9, "Label9", "m NN");
    name(Label16, "Label16", "km ~");
    name(MaxL, "MaxL", "", "Max. Speed (Reset)");
    name(NNminL, "NNminL");
    name(NNmaxL, "NNmaxL");
    name(DistL, "DistL");
    name(TripL, "TripL");

    name(SetFN, "SetFN", "Set Filename");
    name(SaveP, "SaveP", "Save Position");
    name(SaveT, "SaveT", "Save Text");
    SaveP.enabled = SaveT.enabled = false;
    // The transport row as every stop leaves it: nothing to move in before a file is loaded.
    Pause.enabled = RESTART.enabled = Back.enabled = Skip2.enabled = false;
    SaveP.backColor = kRed;
    name(Label12, "Label12", "Filter");
    name(MRen, "MRen", "rename");
    name(MDel, "MDel", "delete");
    name(Mcan, "Mcan", "cancel");
    // The manual controls show in manual mode only.
    for (Control* manual :
         std::initializer_list<Control*>{&ggn, &mmn, &ssn, &kkn, &ggo, &mmo, &sso, &kko, &SetFN,
                                         &SaveP, &SaveT, &VSc2, &VSc3, &nnM, &kmhM, &AutoM, &VSc4})
        manual->visible = false;
    for (size_t i = 0; i < 4; ++i)
        VSc1[i].visible = HSc1[i].visible = false;

    name(ENDE, "ENDE", "SAVE SETTINGS AND EXIT");
    toolTipsOfSymbolsAndValues();

    Timer1.name = "Timer1";
    Timer1.setInterval(100);
    Timer2.name = "Timer2";
    Timer2.setInterval(400);
    Timer3.name = "Timer3";
    Timer4.name = "Timer4";
    Timer4.setInterval(1000);
    StepDue.name = "StepDue";
    MinimizeDue.name = "MinimizeDue";
    MinimizeDue.setInterval(1000);
    FlashEnds.name = "FlashEnds";
    FlashEnds.setInterval(100);
}

// What a control whose caption is a symbol, a value or nothing does or shows.
void Controls::toolTipsOfSymbolsAndValues() {
    const std::pair<Control*, const char*> tips[] = {
        {&Drive1, "Drive of the data folder"},
        {&Dir1, "Folders: a click opens one"},
        {&File1, "Logs and tracks: a click replays one; holding the button renames or deletes it"},
        {&FileT, "Filter of the file list; in download mode the name of the file to write"},
        {&TZdiff, "Hours between UTC and local time"},
        {&TZL, "Hours between UTC and local time"},
        {&Zeit, "Time of the record"},
        {&Datum, "Date of the record"},
        {&WtL, "Date of the record, written out"},
        {&TTL, "Time since the trip began"},
        {&SpeedL, "Speed"},
        {&DistL, "Distance from the start"},
        {&TripL, "Distance travelled"},
        {&NNL, "Altitude"},
        {&NNminL, "Lowest altitude"},
        {&NNmaxL, "Highest altitude"},
        {&FileL, kFileReplayedTip},
        {&Gauge1, "Course"},
        {&Pause, "Pause: the current record again every two seconds"},
        {&AutoSkip, "Pass over the records of a receiver standing still"},
        {&Lop, "Loop: start again at the end of the file"},
        {&TCPstat, "TCP server: green while a client takes the sentences, red with none"},
        {&VSc2, "Altitude"},
        {&VSc3, "Speed"},
        {&VSc4, "Auto-Point: a position recorded every so many metres"},
        {&nnM, "Altitude"},
        {&kmhM, "Speed"},
        {&AutoM, "Auto-Point"},
        {&ggn, "Latitude: degrees"},
        {&mmn, "Latitude: minutes"},
        {&ssn, "Latitude: seconds"},
        {&ggo, "Longitude: degrees"},
        {&mmo, "Longitude: minutes"},
        {&sso, "Longitude: seconds"},
    };
    for (auto [control, tip] : tips)
        control->toolTip = tip;
    const char* parts[] = {"degrees", "minutes", "seconds", "tenths of a second"};
    for (size_t i = 0; i < 4; ++i) {
        VSc1[i].toolTip = std::string("Latitude: ") + parts[i];
        HSc1[i].toolTip = std::string("Longitude: ") + parts[i];
    }
}

void Controls::forEach(const std::function<void(Control&)>& visit) {
    for (Control* c : std::initializer_list<Control*>{
             &Drive1, &Dir1,     &File1,    &FileT,  &NMEA,      &ALL,     &TRACK,     &LOA,
             &SAVE,   &DirSel,   &List1,    &TZdiff, &TZL,       &Label2,  &Label7,    &Gauge1,
             &DIA,    &Pause,    &AutoSkip, &Lop,    &Last,      &MinC,    &AutoReset, &PauseL,
             &AutoL,  &LoopL,    &Skip1,    &Skip2,  &Back,      &RESTART, &RMCRMB,    &Command1,
             &Gauge2, &StopA,    &RunA,     &MiniA,  &Interval,  &PortC,   &BaudC,     &TCPstat,
             &TcpLan, &TcpPortT, &PortL,    &Manu,   &VSc2,      &VSc3,    &VSc4,      &ENDE,
             &ggn,    &mmn,      &ssn,      &kkn,    &ggo,       &mmo,     &sso,       &kko,
             &nnM,    &kmhM,     &AutoM,    &Label3, &Label6,    &Label9,  &Label16,   &MaxL,
             &NNminL, &NNmaxL,   &DistL,    &TripL,  &Zeit,      &Datum,   &WtL,       &TTL,
             &SpeedL, &NNL,      &FileL,    &Equ,    &DownloadC, &Label12, &SetFN,     &SaveP,
             &SaveT})
        visit(*c);
    for (auto& c : Abstand)
        visit(c);
    for (auto& c : Pspeed)
        visit(c);
    for (auto& c : Data)
        visit(c);
    for (auto& c : VSc1)
        visit(c);
    for (auto& c : HSc1)
        visit(c);
}

} // namespace korvel
