// The outputs on this machine's own services (serial ports, sockets, the pseudo-terminal), with
// the devices a settings file's "Devices" section names; dialogs and the host are test doubles.
#pragma once

#include "app/profile_file.h"
#include "output/outputs.h"
#include "platform/qt/machine.h"
#include "platform/run_until.h"
#include "support/virtual_platform.h"

#include <QTimer>
#include <string>
#include <vector>

namespace korvel::test {

struct RealOutputs {
    // devices: lines of the "Devices" section; entry: the port-list entry the stream goes to.
    RealOutputs(const std::string& devices, const std::string& entry)
        : names(DeviceNames::fromProfile(ProfileFile::parse("[Devices]\n" + devices))),
          machine(names) {
        outputs.settings = names.outputSettings();
        outputs.route(entry);
    }

    // Sends the sentences, one every intervalMs while the event loop runs, over and over.
    void stream(const std::vector<std::string>& sentences, int intervalMs) {
        QObject::connect(&timer, &QTimer::timeout, [this, sentences, next = size_t{0}]() mutable {
            outputs.send(sentences[next++ % sentences.size()] + "\r\n");
        });
        timer.start(intervalMs);
    }

    DeviceNames names;
    ScriptedDialogs dialogs;
    FakeHost host;
    Machine machine;
    Platform platform = machine.platform(dialogs, host);
    Outputs outputs{platform};
    QTimer timer;
};

} // namespace korvel::test
