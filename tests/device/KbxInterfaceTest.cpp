#include "device/KbxInterface.h"
#include "device/KbxFrame.h"
#include "support/SimRig.h"

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

ConfigImage Counting() {
    ConfigImage image;
    for (int i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(255 - i);
    return image;
}

std::vector<QByteArray> Texts(std::initializer_list<const char*> texts) {
    std::vector<QByteArray> out;
    for (const char* t : texts)
        out.emplace_back(t);
    return out;
}

TEST(KbxInterface, ReadImageSendsSixteenChunks) {
    SimRig rig;
    rig.engine.memory() = Counting();
    auto kbx = rig.makeInterface();
    ASSERT_EQ(kbx->Open(), kbxOk);
    ConfigImage image{};
    EXPECT_EQ(kbx->ReadImage(image), kbxOk);
    EXPECT_EQ(image, Counting());
    const auto sent = rig.takeSent();
    ASSERT_EQ(sent.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(sent[i], ReadCommand(i * 16, 16));
    EXPECT_EQ(sent.front(), QByteArray("R000010"));
    EXPECT_EQ(sent.back(), QByteArray("R00F010"));
}

TEST(KbxInterface, OddRangesAreChunkedFromTheirFirstAddress) {
    SimRig rig;
    rig.engine.memory() = Counting();
    auto kbx = rig.makeInterface();
    kbx->Open();
    ConfigImage image{};
    EXPECT_EQ(kbx->ReadBlock(image, 0x93, 0x95), kbxOk);
    EXPECT_EQ(rig.takeSent(), Texts({"R009303"}));
    EXPECT_EQ(image[0x93], 255 - 0x93);
    EXPECT_EQ(image[0x96], 0);

    ConfigImage source = Counting();
    EXPECT_EQ(kbx->WriteBlock(source, 0x20, 0x92), kbxOk);
    const auto sent = rig.takeSent();
    ASSERT_EQ(sent.size(), 8u);
    EXPECT_EQ(sent.front(), WriteCommand(0x20, source.data() + 0x20, 16));
    EXPECT_EQ(sent.back(), QByteArray("W009003") + EncodeHexBytes(source.data() + 0x90, 3));

    EXPECT_EQ(kbx->WriteBlock(source, 0xF6, 0xF6), kbxOk);
    EXPECT_EQ(rig.takeSent(), Texts({"W00F60109"}));
}

TEST(KbxInterface, WriteStoresIntoTheDevice) {
    SimRig rig;
    auto kbx = rig.makeInterface();
    kbx->Open();
    const ConfigImage source = Counting();
    EXPECT_EQ(kbx->WriteBlock(source, 0x00, 0xFF), kbxOk);
    EXPECT_EQ(rig.engine.memory(), source);
}

struct FaultCase {
    const char* name;
    sim::KbxSimOptions options;
    int readResult;
    int writeResult;
    int readSent; // frames for the four chunks, retries included
    int writeSent;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class KbxFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(KbxFaults, ResultCodesAndRetries) {
    const FaultCase& c = GetParam();
    SimRig rig(c.options);
    rig.engine.memory() = Counting();
    auto kbx = rig.makeInterface();
    ASSERT_EQ(kbx->Open(), kbxOk);
    ConfigImage image{};
    EXPECT_EQ(kbx->ReadBlock(image, 0x00, 0x3F), c.readResult);
    if (c.readResult == kbxOk) {
        EXPECT_TRUE(SameRange(image, Counting(), 0x00, 0x3F)); // the bytes as the device has them
    }
    EXPECT_EQ(rig.takeSent().size(), static_cast<size_t>(c.readSent));
    ASSERT_EQ(kbx->Open(), kbxOk); // a silent read would stop the write at once
    EXPECT_EQ(kbx->WriteBlock(ConfigImage{}, 0x00, 0x3F), c.writeResult);
    EXPECT_EQ(rig.takeSent().size(), static_cast<size_t>(c.writeSent));
}

sim::KbxSimOptions With(void (*set)(sim::KbxSimOptions&)) {
    sim::KbxSimOptions o;
    set(o);
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, KbxFaults,
    ::testing::Values(
        FaultCase{"Healthy", {}, kbxOk, kbxOk, 4, 4},
        // A refusal keeps its retries on every chunk.
        FaultCase{"NakEveryAttempt", With([](auto& o) { o.nakRate = 1; }), kbxReadFailed, kbxWriteRefused, 12,
                  12},
        // A chunk that hears nothing in three attempts ends the block: the device or the KBX is gone.
        FaultCase{"Silence", With([](auto& o) { o.silenceRate = 1; }), kbxReadFailed, kbxNoReply, 3, 3},
        FaultCase{"CorruptFrames", With([](auto& o) { o.corruptRate = 1; }), kbxReadFailed, kbxOk, 12, 4},
        FaultCase{"LowerCaseHex", With([](auto& o) { o.lowerCaseHex = true; }), kbxReadFailed, kbxOk, 12, 4},
        FaultCase{"LowerCaseData", With([](auto& o) { o.lowerCaseData = true; }), kbxOk, kbxOk, 4, 4},
        // Every reply after the wait: never taken, whatever it holds.
        FaultCase{"LateReplies", With([](auto& o) { o.lateRate = 1; }), kbxReadFailed, kbxOk, 3, 12},
        // A reply of the wrong length on the last attempt fails the read too.
        FaultCase{"TruncatedReplies", With([](auto& o) { o.truncateRate = 1; }), kbxReadFailed, kbxOk, 12, 4},
        FaultCase{"NoDevice", With([](auto& o) { o.devicePresent = false; }), kbxReadFailed, kbxWriteRefused,
                  12, 12},
        FaultCase{"Unplugged", With([](auto& o) { o.disconnectAfter = 0; }), kbxReadFailed, kbxNoReply, 3, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KbxInterface, AChunkWithNoAnswerEndsTheTransferAndTheNextOnes) {
    sim::KbxSimOptions options;
    options.disconnectAfter = 5; // chunks 1-5 answer, the rest do not
    SimRig rig(options);
    rig.engine.memory() = Counting();
    auto kbx = rig.makeInterface();
    kbx->Open();
    ConfigImage image;
    image.fill(0xEE);
    EXPECT_EQ(kbx->ReadImage(image), kbxReadFailed);
    EXPECT_EQ(rig.takeSent().size(), 5u + 3u);
    EXPECT_TRUE(SameRange(image, Counting(), 0x00, 0x4F));
    EXPECT_EQ(image[0x50], 0xEE); // unread chunks keep what the destination held
    EXPECT_TRUE(kbx->silent());
    EXPECT_EQ(kbx->WriteBlock(image, 0x00, 0x1F), kbxNoReply);
    EXPECT_TRUE(rig.takeSent().empty());
    EXPECT_TRUE(kbx->sentWrites().empty());
}

TEST(KbxInterface, ACancelStopsBeforeTheNextChunkAndTheWritesSentAreKnown) {
    SimRig rig;
    auto kbx = rig.makeInterface();
    kbx->Open();
    int chunks = 0;
    kbx->setChunkObserver([&] {
        if (++chunks == 3)
            kbx->requestCancel();
    });
    const ConfigImage source = Counting();
    EXPECT_EQ(kbx->WriteBlock(source, 0x10, 0x7F), kbxCancelled);
    EXPECT_EQ(rig.takeSent().size(), 3u);
    ASSERT_EQ(kbx->sentWrites().size(), 1u);
    EXPECT_EQ(kbx->sentWrites()[0].first, 0x10);
    EXPECT_EQ(kbx->sentWrites()[0].last, 0x3F);
    ConfigImage image{};
    EXPECT_EQ(kbx->ReadImage(image), kbxCancelled);
    kbx->Open();
    EXPECT_FALSE(kbx->cancelled());
    EXPECT_TRUE(kbx->sentWrites().empty());
}

TEST(KbxInterface, RetriesRecoverFromOccasionalFaults) {
    sim::KbxSimOptions options;
    options.seed = 7;
    options.nakRate = 0.15;
    options.corruptRate = 0.1;
    SimRig rig(options);
    rig.engine.memory() = Counting();
    auto kbx = rig.makeInterface();
    kbx->Open();
    ConfigImage image{};
    ASSERT_EQ(kbx->ReadImage(image), kbxOk);
    EXPECT_EQ(image, Counting());
    EXPECT_GT(rig.takeSent().size(), 16u);
}

// Replies carry no address: a reply that comes after its wait must never be taken for the next
// command's. Whatever a read reports as read is the device's, for every seed.
TEST(KbxInterface, LateRepliesNeverGiveWrongBytes) {
    int succeeded = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        sim::KbxSimOptions options;
        options.seed = seed;
        options.lateRate = 0.3;
        // 255 to 440 ms after the command: the lateness the quiet line covers.
        options.lateMs = 250 + std::min<double>(TKbxInterface::kQuietMs - 10, seed * 5);
        SimRig rig(options);
        rig.engine.memory() = Counting();
        auto kbx = rig.makeInterface();
        kbx->Open();
        for (int round = 0; round < 3; ++round) {
            ConfigImage image{};
            if (kbx->ReadImage(image) == kbxOk) {
                ++succeeded;
                EXPECT_EQ(image, Counting()) << "seed " << seed << " round " << round;
            }
        }
        ConfigImage written = Counting();
        written[0x42] ^= 0xFF;
        kbx->WriteBlock(written, 0x00, 0xFF);
        ConfigImage back{};
        if (kbx->ReadImage(back) == kbxOk) {
            EXPECT_EQ(back, rig.engine.memory()) << "seed " << seed;
        }
    }
    EXPECT_GT(succeeded, 0); // retries do get through
}

TEST(KbxInterface, ClosedInterfaceIsQuiet) {
    SimRig rig;
    auto kbx = rig.makeInterface();
    QByteArray reply;
    QString text = QStringLiteral("keep");
    ConfigImage image{};
    EXPECT_EQ(kbx->SendFrame("O"), 0);
    EXPECT_EQ(kbx->ReceiveReply(reply, 250, 1), 0);
    EXPECT_EQ(kbx->ConnectDevice(), kbxNoReply);
    EXPECT_EQ(kbx->ReadImage(image), kbxReadFailed);
    EXPECT_EQ(kbx->WriteBlock(image, 0, 0xFF), kbxNoReply);
    EXPECT_EQ(kbx->PollRadioCode(text), kbxNoReply);
    EXPECT_EQ(text, QStringLiteral("keep"));
    EXPECT_EQ(kbx->ReadInfo(text), kbxNoReply);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(rig.sent.empty());
    EXPECT_EQ(rig.engine.commands(), 0);
}

TEST(KbxInterface, OpenWithoutAUnit) {
    SimRig rig;
    rig.kbxPresent = false;
    auto kbx = rig.makeInterface();
    EXPECT_EQ(kbx->Open(), kbxOpenFailed);
    EXPECT_FALSE(kbx->isOpen());
    kbx->Close();
    EXPECT_FALSE(kbx->isOpen());
}

TEST(KbxInterface, EmptyCommandSendsNothing) {
    SimRig rig;
    auto kbx = rig.makeInterface();
    kbx->Open();
    EXPECT_EQ(kbx->SendFrame(""), 0);
    EXPECT_EQ(kbx->SendFrame("O"), 5);
    EXPECT_EQ(rig.takeSent(), Texts({"O"}));
}

TEST(KbxInterface, SingleCommands) {
    sim::KbxSimOptions options;
    options.learnCode = QStringLiteral("12AB");
    options.learnAfterPolls = 2;
    SimRig rig(options);
    auto kbx = rig.makeInterface();
    kbx->Open();
    EXPECT_EQ(kbx->ConnectDevice(), kbxOk);
    EXPECT_EQ(kbx->StartRadioReceive(), kbxOk);
    QString code;
    for (const char* expected : {"0000", "0000", "12AB"}) {
        EXPECT_EQ(kbx->PollRadioCode(code), kbxOk);
        EXPECT_EQ(code, QLatin1String(expected));
    }
    EXPECT_EQ(kbx->StopRadioReceive(), kbxOk);
    QString info;
    EXPECT_EQ(kbx->ReadInfo(info), kbxOk);
    EXPECT_EQ(info, QStringLiteral("KBX-SIM 1.0"));
    EXPECT_EQ(rig.takeSent(), Texts({"O", "s1", "c1", "c1", "c1", "s0", "v"}));

    rig.engine.options().devicePresent = false;
    EXPECT_EQ(kbx->ConnectDevice(), kbxNoReply);
    rig.engine.options().info = "short";
    EXPECT_EQ(kbx->ReadInfo(info), kbxOk); // padded by the unit to its eleven characters
}

TEST(KbxInterface, PollOfTheWrongLengthLeavesTheCodeAlone) {
    sim::KbxSimOptions options;
    options.truncateRate = 1;
    SimRig rig(options);
    auto kbx = rig.makeInterface();
    kbx->Open();
    QString code = QStringLiteral("BEEF");
    EXPECT_EQ(kbx->PollRadioCode(code), kbxNoReply);
    EXPECT_EQ(code, QStringLiteral("BEEF"));
}

// The waiting rule, in virtual time: the wait ends with the last expected byte, a reply may take 250 ms
// to start, and each further byte may come up to 250 ms after the one before.
TEST(KbxWaiting, AHealthyTransactionCostsOnlyTheLineTime) {
    SimRig rig;
    auto kbx = rig.makeInterface();
    kbx->Open();
    ConfigImage image{};
    const std::int64_t start = rig.clock.micros();
    ASSERT_EQ(kbx->ReadBlock(image, 0x00, 0x0F), kbxOk);
    const double line = (11 + 36) * sim::SimLine::kByteMicros;
    EXPECT_NEAR(static_cast<double>(rig.clock.micros() - start), line, 2.0);
}

TEST(KbxWaiting, SilenceCostsTheFirstWaitAndAQuietLinePerAttempt) {
    sim::KbxSimOptions options;
    options.silenceRate = 1;
    SimRig rig(options, false);
    auto kbx = rig.makeInterface();
    kbx->Open();
    EXPECT_EQ(kbx->ConnectDevice(), kbxNoReply);
    EXPECT_EQ(rig.clock.nowMs(), 250);
    ConfigImage image{};
    kbx->ReadBlock(image, 0, 0);
    // Before each send after a failed exchange the line must have been quiet for kQuietMs.
    EXPECT_EQ(rig.clock.nowMs(), 250 + 3 * (TKbxInterface::kQuietMs + 250));
}

TEST(KbxWaiting, LatencyBelowTheFirstWaitIsAccepted) {
    for (const auto& [latency, result] : {std::pair{240.0, kbxOk}, std::pair{260.0, kbxNoReply}}) {
        SimRig rig({}, true, latency);
        auto kbx = rig.makeInterface();
        kbx->Open();
        EXPECT_EQ(kbx->ConnectDevice(), result) << latency;
    }
}

TEST(KbxWaiting, EachByteExtendsTheDeadline) {
    SimRig rig({}, true, 0, 240'000); // a reply byte every 240 ms
    rig.engine.memory()[0] = 0x5A;
    auto kbx = rig.makeInterface();
    kbx->Open();
    ConfigImage image{};
    EXPECT_EQ(kbx->ReadBlock(image, 0, 0), kbxOk);
    EXPECT_EQ(image[0], 0x5A);
    EXPECT_GT(rig.clock.nowMs(), 6 * 240); // far beyond the first wait
}

// A reply whose bytes keep coming is cut off at the transaction's hard limit, and more bytes than the
// reply has are a bad reply at once.
TEST(KbxWaiting, EveryTransactionHasAnUpperBound) {
    SimRig slow({}, true, 0, 100'000); // a byte every 100 ms: 36 bytes would take 3.6 s
    auto kbx = slow.makeInterface();
    kbx->Open();
    QByteArray reply;
    EXPECT_EQ(kbx->Transact("R000010", reply, 250, 32), 0);
    EXPECT_LE(slow.clock.nowMs(), TKbxInterface::kTransactionLimitMs + 10);

    SimRig rig({}, false);
    auto kbx2 = rig.makeInterface();
    kbx2->Open();
    EXPECT_EQ(kbx2->Transact("R000002", reply, 250, 2), 0); // 8 bytes come for the 6 awaited
    EXPECT_EQ(kbx2->Transact("R000001", reply, 250, 2), 2); // after a quiet line, the next is fine
}

TEST(KbxWaiting, ANakToAFramedReadWaitsForMoreBeforeItIsTaken) {
    sim::KbxSimOptions options;
    options.nakRate = 1;
    SimRig rig(options, false);
    auto kbx = rig.makeInterface();
    kbx->Open();
    QByteArray reply;
    EXPECT_EQ(kbx->Transact("R000001", reply, 250, 2), 1);
    EXPECT_EQ(reply, QByteArray(1, kNak));
    EXPECT_EQ(rig.clock.nowMs(), 250);
}

} // namespace
