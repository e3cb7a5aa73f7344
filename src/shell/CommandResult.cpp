#include "CommandResult.h"

namespace zal {
namespace {

// Errors tell most, then warnings, then information; a question is no outcome.
int Weight(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return 3;
    case MessageKind::Warning:
        return 2;
    case MessageKind::Information:
        return 1;
    case MessageKind::Question:
        break;
    }
    return 0;
}

struct KindWords {
    CommandResult::Kind kind;
    const char* word;
    const char* caption;
};

constexpr KindWords kKindWords[] = {
    {CommandResult::Done, "done", "erfolgreich"},
    {CommandResult::Refused, "refused", "abgelehnt"},
    {CommandResult::Failed, "failed", "fehlgeschlagen"},
    {CommandResult::Cancelled, "cancelled", "abgebrochen"},
};

} // namespace

QString CommandResult::text() const {
    QString text = message_ ? MessageText(*message_, arguments_) : QString();
    if (!detail_.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" \u2013 ")) + detail_;
    return text;
}

void CommandResult::noteMessage(MessageKind severity, Msg message, const QStringList& arguments) {
    if (Weight(severity) == 0 || (message_ && Weight(severity) < Weight(severity_)))
        return;
    severity_ = severity;
    message_ = message;
    arguments_ = arguments;
    detail_.clear();
}

QString ResultWord(CommandResult::Kind kind) {
    for (const KindWords& k : kKindWords) {
        if (k.kind == kind)
            return QLatin1String(k.word);
    }
    return QString();
}

std::optional<CommandResult::Kind> ResultKindFromWord(const QString& word) {
    for (const KindWords& k : kKindWords) {
        if (word == QLatin1String(k.word))
            return k.kind;
    }
    return std::nullopt;
}

QString ResultCaption(CommandResult::Kind kind) {
    for (const KindWords& k : kKindWords) {
        if (k.kind == kind)
            return QString::fromUtf8(k.caption);
    }
    return QString();
}

} // namespace zal
