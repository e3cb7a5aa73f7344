#include "device/KbxFrame.h"
#include "KbxSimEngine.h"

#include <gtest/gtest.h>

#include <random>

using namespace zal;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST(KbxFrame, CommandsGoOutWithUpperCaseChecksumDigits) {
    EXPECT_EQ(BuildFrame("s0"), Bytes({0x02, 0x73, 0x30, 0x41, 0x33, 0x03}));
    EXPECT_EQ(BuildFrame("v"), Bytes({0x02, 0x76, 0x37, 0x36, 0x03}));
    EXPECT_EQ(BuildFrame("O"), Bytes({0x02, 'O', '4', 'F', 0x03}));
    EXPECT_EQ(FrameChecksum(QByteArray(300, '\xFF')), (300 * 0xFF) & 0xFF);
}

TEST(KbxFrame, ReadAndWriteCommandTexts) {
    EXPECT_EQ(ReadCommand(0x00, 16), QByteArray("R000010"));
    EXPECT_EQ(ReadCommand(0xF0, 16), QByteArray("R00F010"));
    EXPECT_EQ(ReadCommand(0x93, 3), QByteArray("R009303"));
    const std::uint8_t data[16] = {0x00, 0x01, 0xAB, 0xFF, 0x10};
    EXPECT_EQ(WriteCommand(0xF6, data + 2, 1), QByteArray("W00F601AB"));
    const QByteArray longest = WriteCommand(0x20, data, 16);
    EXPECT_EQ(longest.size(), 39);
    EXPECT_TRUE(longest.startsWith("W0020100001ABFF10"));
    EXPECT_LT(BuildFrame(longest).size(), 50);
}

TEST(KbxFrame, EveryByteValueEncodesAndDecodes) {
    std::uint8_t all[256];
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    const QByteArray text = EncodeHexBytes(all, 256);
    EXPECT_EQ(text.left(6), QByteArray("000102"));
    EXPECT_EQ(text.right(4), QByteArray("FEFF"));
    std::uint8_t back[256];
    DecodeHexPairs(text, back, 256);
    EXPECT_TRUE(std::equal(all, all + 256, back));
}

TEST(KbxFrame, DataDigitsReadInEitherCaseChecksumDigitsOnlyInUpperCase) {
    std::uint8_t bytes[2] = {};
    DecodeHexPairs("0aFf", bytes, 2);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(ReceivedDigitValue('F'), 15);
    EXPECT_EQ(ReceivedDigitValue('f'), 0x2F);   // the checksum rule: lower case never matches
    QByteArray lowerChecksum = BuildFrame("Z"); // checksum 0x5A
    lowerChecksum[3] = 'a';                     // the right value, in lower case
    EXPECT_FALSE(ParseFramedReply(lowerChecksum));
}

TEST(KbxFrame, ParsingFramedReplies) {
    const QByteArray good = BuildFrame("0000ABCD");
    EXPECT_EQ(ParseFramedReply(good), QByteArray("0000ABCD"));
    EXPECT_EQ(ParseFramedReply(BuildFrame("")), QByteArray());

    ASSERT_EQ(good.right(3), QByteArray("CA\x03"));
    EXPECT_FALSE(ParseFramedReply(good.left(good.size() - 3) + "ca\x03")); // lower-case checksum digits

    const struct {
        const char* name;
        QByteArray bytes;
    } bad[] = {
        {"short", Bytes({0x02, '0', 0x03})},
        {"no STX", "X" + good.mid(1)},
        {"no ETX", good.left(good.size() - 1) + "X"},
        {"checksum", good.left(good.size() - 2) + "0" + Bytes({0x03})},
        {"payload", Bytes({0x02}) + "1000ABCD" + good.right(3)},
    };
    for (const auto& c : bad)
        EXPECT_FALSE(ParseFramedReply(c.bytes)) << c.name;
}

} // namespace

namespace {

// Garbage on the line never crashes the parser, and what it accepts is always enclosed by STX and ETX.
// A well-formed frame inside garbage is still found by the simulator after its next STX.
TEST(KbxFrameRobustness, RandomBytes) {
    std::mt19937 random(7);
    int accepted = 0;
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(static_cast<int>(random() % 60), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        if (const auto payload = ParseFramedReply(bytes)) {
            ++accepted;
            EXPECT_EQ(bytes.front(), kStx);
            EXPECT_EQ(bytes.back(), kEtx);
            EXPECT_EQ(*payload, bytes.mid(1, bytes.size() - kFrameOverhead));
        }
    }
    EXPECT_LT(accepted, 5);
}

TEST(KbxFrameRobustness, TheSimulatorFindsAFrameAfterGarbage) {
    sim::KbxSimEngine engine;
    const QByteArray line = QByteArray("\x03garbage\x02half") + BuildFrame("O");
    QByteArray reply;
    int replies = 0;
    for (char c : line) {
        if (engine.receive(c, reply)) {
            ++replies;
            EXPECT_EQ(reply, QByteArray(1, kAck));
        }
    }
    EXPECT_EQ(replies, 1);
}

} // namespace
