#pragma once

#include "config/ConfigImage.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace zal::sim {

struct KbxSimOptions {
    bool devicePresent = true; // a KBX without a device answers NAK to every device command
    std::uint32_t seed = 1;
    double nakRate = 0;         // the device refuses a command (not executed)
    double silenceRate = 0;     // the command frame is lost (not executed, no reply)
    double corruptRate = 0;     // a framed reply's checksum is damaged
    double truncateRate = 0;    // a framed reply loses its last bytes
    bool lowerCaseHex = false;  // the whole reply frame in lower case, checksum digits too
    bool lowerCaseData = false; // lower-case data digits under a checksum that matches them
    double lateRate = 0;        // a reply comes lateMs after its command, past the host's wait
    double lateMs = 270;
    int disconnectAfter = -1;                        // after this many commands nothing answers any more
    std::vector<std::pair<int, int>> writeProtected; // accepted with ACK, but not stored
    bool refuseWrites = false;                       // every "W" is answered with NAK
    QString learnCode;               // the transmitter code that arrives while reception is on
    int learnAfterPolls = 0;         // ... after this many "c1" polls
    QByteArray info = "KBX-SIM 1.0"; // the 11 characters "v" answers
};

// A KBX with a device behind it, at the level of frames: command bytes in, reply bytes out. Timing is
// the line's business (SimLine).
class KbxSimEngine {
public:
    explicit KbxSimEngine(KbxSimOptions options = {});

    ConfigImage& memory() { return memory_; }
    const ConfigImage& memory() const { return memory_; }
    KbxSimOptions& options() { return options_; }

    // Takes one byte from the host; returns true and the reply (empty for silence) when the byte
    // completed a command frame.
    bool receive(char byte, QByteArray& reply);

    // A transmitter code received over the air (four hexadecimal digits).
    void injectCode(const QString& code) { receivedCode_ = code.left(4).toUpper().toLatin1(); }

    // Whether the reply just made comes late (decided once per reply, by lateRate).
    bool rollLate() { return roll(options_.lateRate); }

    int commands() const { return commands_; }
    bool receptionOn() const { return reception_; }
    bool disconnected() const {
        return options_.disconnectAfter >= 0 && commands_ > options_.disconnectAfter;
    }

private:
    QByteArray handle(const QByteArray& text);
    QByteArray framed(const QByteArray& payload);
    bool roll(double rate);
    bool isProtected(int address) const;

    KbxSimOptions options_;
    ConfigImage memory_{};
    std::mt19937 random_;
    QByteArray frame_;
    bool inFrame_ = false;
    int commands_ = 0;
    bool reception_ = false;
    int polls_ = 0;
    QByteArray receivedCode_ = "0000";
};

} // namespace zal::sim
