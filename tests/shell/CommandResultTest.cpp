#include "shell/CommandResult.h"

#include <gtest/gtest.h>

namespace zal {
namespace {

// The records keep a word per kind and read it back; the window shows its caption.
TEST(CommandResult, EveryKindHasOneWordThatReadsBack) {
    const struct {
        CommandResult::Kind kind;
        const char *word, *caption;
    } cases[] = {
        {CommandResult::Done, "done", "erfolgreich"},
        {CommandResult::Refused, "refused", "abgelehnt"},
        {CommandResult::Failed, "failed", "fehlgeschlagen"},
        {CommandResult::Cancelled, "cancelled", "abgebrochen"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultWord(c.kind), QLatin1String(c.word));
        EXPECT_EQ(ResultKindFromWord(QLatin1String(c.word)), c.kind);
        EXPECT_EQ(ResultCaption(c.kind), QString::fromUtf8(c.caption));
    }
    EXPECT_FALSE(ResultKindFromWord(QString())); // an entry whose command never ended
    EXPECT_FALSE(ResultKindFromWord(QStringLiteral("written")));
}

// The latest message names the outcome, unless an error came before it; a question never does.
TEST(CommandResult, KeepsTheMessageThatTellsMost) {
    CommandResult r = CommandResult::Failed;
    r.noteMessage(MessageKind::Question, Msg::OverwriteFile);
    EXPECT_FALSE(r.message());
    r.noteMessage(MessageKind::Warning, Msg::PositionAlarmsNeed228);
    r.noteMessage(MessageKind::Information, Msg::DeviceIsAnotherProduct);
    EXPECT_EQ(r.message(), Msg::DeviceIsAnotherProduct); // the refusal, not the warning before it
    r.noteMessage(MessageKind::Information, Msg::Writing);
    r.noteMessage(MessageKind::Error, Msg::ReadFailed);
    r.setDetail(QStringLiteral("unplugged"));
    r.noteMessage(MessageKind::Information, Msg::WriteVerified);
    EXPECT_EQ(r.message(), Msg::ReadFailed);
    EXPECT_EQ(r.text(), MessageText(Msg::ReadFailed) + QStringLiteral(" \u2013 unplugged"));
    EXPECT_FALSE(r.clean());
    r.noteMessage(MessageKind::Error, Msg::VerifyFailed);
    EXPECT_EQ(r.message(), Msg::VerifyFailed);
    EXPECT_EQ(r.detail(), QString()); // the detail went with the message it explained
}

} // namespace
} // namespace zal
