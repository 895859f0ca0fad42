// Manual mode: the position shown by the labels leaves as RMC, GGA and VTG on every tick, with
// the clock's time, and the course and distance from the start point.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

namespace korvel {

namespace {

std::string hhmmss(const LocalDateTime& t) {
    return Format(t.hour, "00") + Format(t.minute, "00") + Format(t.second, "00");
}

} // namespace

void MainForm::showManualControls(bool manual) {
    for (Control* file :
         std::initializer_list<Control*>{&c.File1, &c.FileT, &c.Label12, &c.LOA, &c.SAVE, &c.DirSel,
                                         &c.NMEA, &c.ALL, &c.TRACK, &c.Equ, &c.Last})
        file->visible = !manual;
    c.DownloadC.enabled = !manual;
    for (Control* control : std::initializer_list<Control*>{
             &c.ggn, &c.mmn, &c.ssn, &c.kkn, &c.ggo, &c.mmo, &c.sso, &c.kko, &c.SetFN, &c.SaveP,
             &c.SaveT, &c.VSc2, &c.VSc3, &c.nnM, &c.kmhM, &c.AutoM, &c.VSc4})
        control->visible = manual;
    for (size_t i = 0; i < 4; ++i)
        c.VSc1[i].visible = c.HSc1[i].visible = manual;
    c.Skip1.enabled = manual;
    c.AutoSkip.enabled = c.Lop.enabled = !manual;
    for (size_t i : {0, 1, 2, 6, 7})
        c.Abstand[i].enabled = !manual;
    for (size_t i = 3; i < 7; ++i)
        c.Data[i].enabled = !manual;
}

void MainForm::Manu_Click() {
    bool manual = c.Manu.value.get() == 1;
    closeAllFiles();
    if (manual && c.StopA.visible) {
        c.Manu.enabled = true;
        StopReplay(StopReason::Stop);
    }
    showManualControls(manual);
    if (!manual) {
        c.Timer1.setEnabled(false);
        c.List1.clear();
        if (platform_.comm1.isOpen())
            platform_.comm1.close();
        CloseTcpConnections();
        c.Lop.caption.clear();
        c.SaveT.enabled = c.SaveP.enabled = false;
        c.File1.refresh();
        s.latest.text.clear();
        ApplyUnits();
        return;
    }
    c.Lop.caption = "<>";
    c.focus = "HSc1(3)";
    c.Skip1.toolTip = "Start";
    s.startLatMinutes = s.startLonMinutes = s.lastLegDistance = 0;
    LocalDateTime now = platform_.clock.utcNow();
    s.recordTime = now.hour * 3600L + now.minute * 60L + now.second;
    if (s.latest.rmc.empty())
        return;
    // Go on from the latest RMC: its position sets the bars.
    auto tenths = [this](int field) {
        double minutes = SignedMinutesOfArc(ExtractField(s.latest.rmc, field),
                                            ExtractField(s.latest.rmc, field + 1));
        return static_cast<long>(minutes * 600 + (minutes < 0 ? -1e-6 : 1e-6));
    };
    setCoordinateTenths(true, tenths(3));
    setCoordinateTenths(false, tenths(5));
}

void MainForm::GenerateManualSentences() {
    c.RunA.visible = true;
    c.Timer2.setEnabled(true);

    // When only one coordinate moved, the other moves by 0.0001' too, so that a listener sees
    // both change.
    const ManualPosition& manual = s.manual;
    std::string latText = manual.latitude.text(2, s.positionChangeFlags == 2 ? 1 : 0);
    std::string lonText = manual.longitude.text(3, s.positionChangeFlags == 1 ? 1 : 0);
    s.positionChangeFlags = 0;
    std::string ns = manual.latitude.negative ? "S" : "N";
    std::string ew = manual.longitude.negative ? "W" : "E";
    std::string position = latText + "," + ns + "," + lonText + "," + ew;

    LocalDateTime now = platform_.clock.utcNow();
    std::string time = hhmmss(now);
    std::string body = "GPRMC," + time + ",A," + position + ",000.0,";
    s.currentLatMinutes = SignedMinutesOfArc(latText, ns);
    s.currentLonMinutes = SignedMinutesOfArc(lonText, ew);
    // Only a leg from a start point gives a course; standing still keeps the last course.
    bool started = s.startLatMinutes != 0 || s.startLonMinutes != 0;
    if (started)
        s.trip.measureLeg(s.startLatMinutes, s.startLonMinutes, s.currentLatMinutes,
                          s.currentLonMinutes);
    double legDistance = started ? s.trip.legDistance() : 0, legCourse = s.trip.legCourse();
    int needle = static_cast<int>(legCourse) + 90;
    if (needle > 359)
        needle -= 360;
    if (started && legDistance > 0)
        body += CourseText(legCourse) + ".0";
    body += "," + Format(now.day, "00") + Format(now.month, "00") +
            Right(Format(now.year, "0000"), 2) + ",,E";
    s.latest.rmc = FrameSentence(body);
    if (engine_.options.sentences.has(Sentence::Rmc))
        listAndSend(s.latest.rmc);

    if (!started) {
        s.startLatMinutes = s.currentLatMinutes;
        s.startLonMinutes = s.currentLonMinutes;
    } else {
        c.Gauge1.style = legDistance != 0 ? 3 : 50;
        if (legDistance != 0)
            c.Gauge1.value = needle;
        double metres = legDistance;
        bool metric = s.metricUnits == 1;
        if (metres < 1000) {
            c.DistL.caption = Plain(metric ? metres : Int(metres * 3.281));
            c.Label6.caption = metric ? "m ->" : "ft ->";
        } else {
            c.DistL.caption = Plain(metric ? Int(metres / 1000) : Round(metres / 1609));
            c.Label6.caption = metric ? "km ->" : "mi ->";
        }
        s.lastLegDistance = legDistance;
    }

    if (engine_.options.sentences.has(Sentence::Gga)) {
        s.latest.gga = FrameSentence("GPGGA," + time + "," + position + ",1,12,1.5," +
                                     Plain(manual.altitude) + ".0,M,46.8,M,,");
        listAndSend(s.latest.gga);
    }
    if (engine_.options.sentences.has(Sentence::Vtg)) {
        std::string course;
        if (started) {
            if (legCourse != 0)
                s.lastCourse = static_cast<int>(legCourse);
            course = CourseText(legDistance != 0 ? legCourse : s.lastCourse);
        }
        listAndSend(FrameSentence("GPVTG," + course + ",T,,,0,N,0,K"));
    }
}

} // namespace korvel
