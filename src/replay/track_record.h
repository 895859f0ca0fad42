// One point of a track file as the fix sentences will carry it: position texts, date, time
// and altitude. The readers of the track formats fill it; pure functions, no form, no file.
#pragma once

#include <chrono>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The altitude of a point that has none.
constexpr double kNoAltitude = std::numeric_limits<double>::quiet_NaN();

struct TrackFix {
    std::string latText, lonText;             // ddmm.mmm and dddmm.mmm
    std::string latHemisphere, lonHemisphere; // "N"/"S", "E"/"W"
    std::string day, month, year;             // month as number or name; year with four digits
    std::string timeText;                     // hh:mm:ss, empty when the format has none
    std::string compactTime;                  // hhmmss, hhmmss.ss where the time has a fraction
    double fraction = 0;                      // of the second, as far as the file tells it
    // The altitude in whole metres, as the sentences carry it: kNoAltitude when the point has
    // none, no value when it says nothing of it (the previous one stays).
    std::optional<double> altitude;
    bool newSegment = false; // the first point of a track segment
    // The signed minutes of arc of the position, as precise as the file gives them: written by
    // SetPosition or the reader, or read from the texts by OnTheGlobe; NaN until then.
    double latMinutes = std::numeric_limits<double>::quiet_NaN();
    double lonMinutes = std::numeric_limits<double>::quiet_NaN();
};

// The position of signed degrees, as texts and hemispheres.
void SetPosition(TrackFix& fix, double latDegrees, double lonDegrees);
// The time of an hh:mm:ss text.
void SetTime(TrackFix& fix, std::string_view hhmmss);
// The date (a four-digit year) and the time of a moment in UTC.
void SetUtc(TrackFix& fix, std::chrono::sys_seconds at);
// The fraction of the second from the digits after its point: kept whole, sent as hundredths.
void SetFraction(TrackFix& fix, std::string_view digits);
// No date and no time: the sentences carry 000000 as the date and empty times.
void SetNoDate(TrackFix& fix);
// Whether the fix names a place on the globe: hemispheres it knows, numbers in range. It carries
// from then on the signed minutes its reader gave, or else those its texts say.
bool OnTheGlobe(TrackFix& fix);

// The metres of an altitude rounded to the nearest whole one, halves away from zero.
double NearestMetre(double metres);
// The nearest whole metres of an altitude's text; kNoAltitude when the text is blank.
double WholeMetresOf(std::string_view text);
// Whether a text begins with a number, after blanks and a sign.
bool StartsWithNumber(std::string_view text);
// A decimal number that is the whole text but for blanks around it; no value otherwise.
std::optional<double> PlainNumber(std::string_view text);

// Thousandths of a minute of arc (not negative) as ddmm.mmm (degreeDigits 2) or dddmm.mmm (3),
// into text, digit by digit: this runs for every point replayed.
void WriteThousandths(long long thousandths, int degreeDigits, std::string& text);
// Minutes of arc as ddmm.mmm (degreeDigits 2) or dddmm.mmm (3); minutes that round up to 60
// carry into the degrees.
std::string PositionText(double minutesOfArc, int degreeDigits);

// The two-digit month number of a month number or an English month name, "00" when unknown.
std::string_view MonthNumber(std::string_view month);

// The ddmmyy of a fix: of its day, month number and year as their texts run on, the first
// four characters and the last two.
std::string Ddmmyy(const TrackFix& fix);
// Whether the fix is dated by the receiver's zero (30 or 31 December 1989, as local time shows
// its midnight): a point without a valid time.
bool OnZeroDate(const TrackFix& fix);

// A two-digit year with its century: above 80 the 1900s, otherwise the 2000s.
std::string FourDigitYear(const std::string& twoDigits);

} // namespace korvel
