#include "CommandResult.h"

#include <QCoreApplication>

namespace zal {
namespace {

struct KindWords {
    CommandResult::Kind kind;
    const char* word;
    const char* caption;
};

constexpr KindWords kKindWords[] = {
    {CommandResult::Done, "done", QT_TRANSLATE_NOOP("Result", "erfolgreich")},
    {CommandResult::Refused, "refused", QT_TRANSLATE_NOOP("Result", "abgelehnt")},
    {CommandResult::Failed, "failed", QT_TRANSLATE_NOOP("Result", "fehlgeschlagen")},
    {CommandResult::Cancelled, "cancelled", QT_TRANSLATE_NOOP("Result", "abgebrochen")},
};

} // namespace

QString CommandResult::text() const {
    QString text = message_ ? MessageText(*message_, arguments_) : QString();
    if (!detail_.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" \u2013 ")) + detail_;
    return text;
}

void CommandResult::noteMessage(MessageKind severity, Msg message, const QStringList& arguments) {
    // A question is no outcome; the latest message tells what the command came to (a refusal after a
    // firmware warning, the success after it), except that nothing after an error hides the error.
    if (severity == MessageKind::Question ||
        (message_ && severity_ == MessageKind::Error && severity != MessageKind::Error))
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
            return QCoreApplication::translate("Result", k.caption);
    }
    return QString();
}

} // namespace zal
