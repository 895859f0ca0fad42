// The pieces of a replay, one at a time (Google Benchmark).
#include "garmin/link_state.h"
#include "garmin/track_point.h"
#include "replay/formats/track_formats.h"
#include "replay/sentence.h"
#include "text/conversions.h"

#include <benchmark/benchmark.h>

using namespace korvel;

namespace {

void FrameARmc(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            FrameSentence("GPRMC,120000.00,A,4807.0381,N,01131.0002,E,022.4,084.4,230394,,,A"));
}
BENCHMARK(FrameARmc);

// A point line read by its format's reader, past the file's header: whole, as a tick reads it,
// or only as far as the load needs (whether it is a point, its segment flag and altitude).
void ReadAPoint(benchmark::State& state, const char* format, const char* line, bool forTheLoad) {
    std::unique_ptr<TrackReader> reader = MakeTrackReader(format)->resumed();
    std::vector<TrackPoint> points;
    std::vector<TrackHeight> heights;
    for (auto _ : state) {
        points.clear();
        heights.clear();
        if (forTheLoad)
            reader->readHeights(line, heights);
        else
            reader->read(line, points);
        benchmark::DoNotOptimize(points.data());
        benchmark::DoNotOptimize(heights.data());
    }
    if (points.size() + heights.size() != 1)
        state.SkipWithError("the line is no point");
}
constexpr const char* kOziPoint = "  48.117300,  11.516700,1, 1800.0,40230.0000000,,";
BENCHMARK_CAPTURE(ReadAPoint, Ozi, "OziExplorer", kOziPoint, false);
BENCHMARK_CAPTURE(ReadAPoint, OziForTheLoad, "OziExplorer", kOziPoint, true);
BENCHMARK_CAPTURE(ReadAPoint, Korvel, "Korvel",
                  "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010 ;156;", false);

void FormatMinutes(benchmark::State& state) {
    double minutes = 7.0381;
    for (auto _ : state)
        benchmark::DoNotOptimize(Format(minutes, "00.000"));
}
BENCHMARK(FormatMinutes);

void DecodeAGarminPoint(benchmark::State& state) {
    const std::string hex = "55555525000000130000000000000000CDCC1C43000000000100000000";
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeTrackPoint(hex, "2"));
}
BENCHMARK(DecodeAGarminPoint);

void ReceiveAGarminPacket(benchmark::State& state) {
    const std::string packet("\x10\x22\x15\x55\x55\x55\x25\x00\x00\x00\x13\x00\x00\x00\x00"
                             "\xCD\xCC\x1C\x43\x00\x00\x00\x00\x01\x42\x10\x03",
                             27);
    GarminLinkState link;
    for (auto _ : state)
        for (char byte : packet)
            benchmark::DoNotOptimize(FeedByte(link, static_cast<unsigned char>(byte)));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * packet.size()));
}
BENCHMARK(ReceiveAGarminPacket);

} // namespace

BENCHMARK_MAIN();
