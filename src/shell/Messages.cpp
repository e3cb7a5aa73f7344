#include "Messages.h"

#include "StringTable.h"

namespace zal {

QString MessageText(Msg message, const QStringList& arguments) {
    return arguments.isEmpty() ? Str(MessageId(message)) : StrF(MessageId(message), arguments);
}

void ShowMessage(Dialogs& dialogs, MessageKind kind, Msg message) {
    dialogs.message(kind, MessageId(message), MessageText(message));
}

void ShowMessage(Dialogs& dialogs, MessageKind kind, Msg message, const QString& text) {
    dialogs.message(kind, MessageId(message), text);
}

Answer AskQuestion(Dialogs& dialogs, MessageKind icon, Msg message, QuestionButtons buttons) {
    return dialogs.question(icon, MessageId(message), MessageText(message), buttons);
}

Answer AskQuestion(Dialogs& dialogs, MessageKind icon, Msg message, QuestionButtons buttons,
                   const QString& text) {
    return dialogs.question(icon, MessageId(message), text, buttons);
}

} // namespace zal
