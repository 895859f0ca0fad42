// The form-level variables that several subsystems share, named as the user's documents name
// them. Flags hold 0 and 1; counters are wide enough for any file.
#pragma once

#include <string>

namespace korvel {

struct FormState {
    // Loading and the replay file.
    std::string currentLine;
    std::string replayFilePath;
    int fileKind = 0; // 0 NMEA log, 1 track file, 2 recording
    std::string recordMarker;
    std::string trackFormat;
    std::string trackName;
    long recordCount = 0;
    long recordIndex = 0;
    int replayActive = 0;
    int repositioning = 0;
    int seekQuiet = 0;
    long segmentCount = 0;

    // Pacing.
    double replayInterval = 1000; // milliseconds between records
    int recordStep = 1;           // records consumed per tick
    int stepOnce = 0;
    int autoSkipOn = 0;

    // Sentences.
    std::string lastRmcSentence;
    std::string lastGgaSentence;
    std::string logText;
    std::string framedSentence;
    double legDistance = 0;
    double legCourse = 0;

    // Ports.
    int outputPortIndex = 0;
    int garminPortIndex = 1;
    int downloadMode = 0;

    // Display.
    int metricUnits = 1;
    int timeReference = 0;
    double maxSpeed = 0;
    int minAltitude = 9999;
    int maxAltitude = 0;
    int positionChangeFlags = 0; // 1: latitude bar moved, 2: longitude bar moved

    // Settings.
    std::string programFolder; // with a trailing "/"
    std::string fileNamePattern;
};

} // namespace korvel
