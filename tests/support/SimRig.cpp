#include "SimRig.h"

#include "device/KbxFrame.h"

namespace zal::test {
namespace {

// Records each frame the tool writes, then hands it on.
class RecordingTransport : public sim::SimTransport {
public:
    RecordingTransport(SimRig& rig) : sim::SimTransport(rig.line, rig.clock, rig.kbxPresent), rig_(rig) {}
    int write(const QByteArray& bytes) override {
        if (bytes.size() >= kFrameOverhead)
            rig_.sent.push_back(bytes.mid(1, bytes.size() - kFrameOverhead));
        return sim::SimTransport::write(bytes);
    }
    Result<> open() override {
        Result<> opened = sim::SimTransport::open();
        if (!opened && !rig_.openFailure.isEmpty())
            return Failure{Problem::Unreachable, rig_.openFailure};
        return opened;
    }

private:
    SimRig& rig_;
};

} // namespace

SimRig::SimRig(sim::KbxSimOptions options, bool pacing, double latencyMs, double byteMicros)
    : engine(std::move(options)), line(engine, pacing, latencyMs, byteMicros) {}

KbxTransportFactory SimRig::factory() {
    return [this]() -> std::unique_ptr<KbxTransport> { return std::make_unique<RecordingTransport>(*this); };
}

std::unique_ptr<TKbxInterface> SimRig::makeInterface() {
    return std::make_unique<TKbxInterface>(factory(), clock);
}

std::vector<QByteArray> SimRig::takeSent() {
    std::vector<QByteArray> out;
    out.swap(sent);
    return out;
}

SimProcess::SimProcess(const QStringList& arguments) {
    process_.setProgram(QStringLiteral(ZAL_BIN_DIR "/kbx-sim"));
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(5000))
        return;
    while (process_.state() == QProcess::Running && !process_.canReadLine())
        process_.waitForReadyRead(5000);
    const QByteArray line = process_.readLine().trimmed();
    if (line.startsWith("ready "))
        path_ = QString::fromLocal8Bit(line.mid(6));
}

QString SimProcess::command(const QString& line) {
    process_.write(line.toLocal8Bit() + '\n');
    process_.waitForBytesWritten(5000);
    while (process_.state() == QProcess::Running && !process_.canReadLine())
        process_.waitForReadyRead(5000);
    return QString::fromLocal8Bit(process_.readLine().trimmed());
}

SimProcess::~SimProcess() {
    stop();
}

void SimProcess::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

} // namespace zal::test
