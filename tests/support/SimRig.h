#pragma once

#include "KbxSimEngine.h"
#include "SimLine.h"
#include "SimTransport.h"
#include "device/KbxInterface.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zal::test {

// A KBX with a device in the same process, in virtual time, recording every frame the tool sends.
class SimRig {
public:
    explicit SimRig(sim::KbxSimOptions options = {}, bool pacing = true, double latencyMs = 0,
                    double byteMicros = sim::SimLine::kByteMicros);

    sim::KbxSimEngine engine;
    sim::SimLine line;
    sim::VirtualClock clock;
    bool kbxPresent = true;
    QString openFailure;          // what the transport says when it cannot open (no permission, in use)
    std::vector<QByteArray> sent; // command texts, without framing

    KbxTransportFactory factory();
    std::unique_ptr<TKbxInterface> makeInterface();
    // Texts of the commands sent since the last call.
    std::vector<QByteArray> takeSent();
};

// kbx-sim as a separate process on a real pseudo-terminal.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments);
    ~SimProcess();
    bool ready() const { return !path_.isEmpty(); }
    QString path() const { return path_; }
    // Ends the simulator (SIGTERM), which saves its memory when --save was given.
    void stop();
    // A line on the simulator's input ("remove", "insert IMAGE", "save FILE"); its answer.
    QString command(const QString& line);

private:
    QProcess process_;
    QString path_;
};

} // namespace zal::test
