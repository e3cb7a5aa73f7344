#include "KbxSimEngine.h"

#include "device/KbxFrame.h"

namespace zal::sim {
namespace {

bool ParseHexField(const QByteArray& text, int from, int digits, int& value) {
    bool ok = false;
    value = text.mid(from, digits).toInt(&ok, 16);
    return ok && text.size() >= from + digits;
}

} // namespace

KbxSimEngine::KbxSimEngine(KbxSimOptions options) : options_(std::move(options)), random_(options_.seed) {}

bool KbxSimEngine::roll(double rate) {
    return rate > 0 && std::uniform_real_distribution<double>(0.0, 1.0)(random_) < rate;
}

bool KbxSimEngine::isProtected(int address) const {
    for (const auto& [first, last] : options_.writeProtected) {
        if (address >= first && address <= last)
            return true;
    }
    return false;
}

bool KbxSimEngine::receive(char byte, QByteArray& reply) {
    if (byte == kStx) {
        frame_.clear();
        inFrame_ = true;
        return false;
    }
    if (!inFrame_)
        return false;
    if (byte != kEtx) {
        frame_ += byte;
        if (frame_.size() > 200) // runaway garbage: wait for the next STX
            inFrame_ = false;
        return false;
    }
    inFrame_ = false;
    ++commands_;
    reply.clear();
    if (disconnected())
        return true;
    if (frame_.size() < 3) {
        reply = QByteArray(1, kNak);
        return true;
    }
    const QByteArray text = frame_.left(frame_.size() - 2);
    if (BuildFrame(text) != kStx + frame_ + kEtx) {
        reply = QByteArray(1, kNak);
        return true;
    }
    if (roll(options_.silenceRate))
        return true;
    if (roll(options_.nakRate)) {
        reply = QByteArray(1, kNak);
        return true;
    }
    reply = handle(text);
    if (reply.size() > 1) {
        if (roll(options_.corruptRate))
            reply[reply.size() - 2] = reply[reply.size() - 2] == '0' ? '1' : '0';
        if (roll(options_.truncateRate))
            reply.chop(1 + static_cast<int>(random_() % 3));
    }
    return true;
}

QByteArray KbxSimEngine::framed(const QByteArray& payload) {
    if (options_.lowerCaseData)
        return BuildFrame(payload.toLower());
    QByteArray frame = BuildFrame(payload);
    return options_.lowerCaseHex ? frame.toLower() : frame;
}

QByteArray KbxSimEngine::handle(const QByteArray& text) {
    const QByteArray ack(1, kAck), nak(1, kNak);
    const char command = text[0];
    if (text == "v")
        return framed(options_.info.left(11).leftJustified(11, ' '));
    if (text == "s1") {
        reception_ = true;
        polls_ = 0;
        receivedCode_ = "0000";
        return ack;
    }
    if (text == "s0") {
        reception_ = false;
        return ack;
    }
    if (text == "c1") {
        ++polls_;
        if (reception_ && !options_.learnCode.isEmpty() && polls_ > options_.learnAfterPolls)
            injectCode(options_.learnCode);
        return framed(receivedCode_ + "0000");
    }
    if (!options_.devicePresent)
        return nak;
    if (text == "O")
        return ack;
    int address = 0, count = 0;
    if ((command == 'R' || command == 'W') && ParseHexField(text, 1, 4, address) &&
        ParseHexField(text, 5, 2, count) && count >= 1 && count <= 16 && address + count <= kImageSize) {
        if (command == 'R' && text.size() == 7)
            return framed(EncodeHexBytes(memory_.data() + address, count));
        if (command == 'W' && options_.refuseWrites)
            return nak;
        if (command == 'W' && text.size() == 7 + 2 * count) {
            std::uint8_t data[16];
            DecodeHexPairs(text.mid(7), data, count);
            for (int i = 0; i < count; ++i) {
                if (!isProtected(address + i))
                    memory_[address + i] = data[i];
            }
            return ack;
        }
    }
    return nak;
}

} // namespace zal::sim
