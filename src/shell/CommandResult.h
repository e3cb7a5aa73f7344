#pragma once

#include "Messages.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zal {

// What a file or device command came to, with the message the technician was shown for it.
// Kinds: done; refused (a file or device the editor does not take); failed (a file or the device did not
// do what was asked); cancelled by the technician. True only when done.
class CommandResult {
public:
    enum Kind { Done, Refused, Failed, Cancelled };

    CommandResult(Kind kind) : kind_(kind) {}
    CommandResult(Kind kind, MessageKind severity, Msg message, QStringList arguments = {})
        : kind_(kind), severity_(severity), message_(message), arguments_(std::move(arguments)) {}

    Kind kind() const { return kind_; }
    explicit operator bool() const { return kind_ == Done; }
    friend bool operator==(const CommandResult& a, Kind b) { return a.kind_ == b; }

    // The message that tells most about the outcome: the latest one shown, unless an error came before
    // it; none when the command showed nothing.
    std::optional<Msg> message() const { return message_; }
    MessageKind severity() const { return severity_; }
    const QStringList& arguments() const { return arguments_; }
    // The message's text with its arguments, then the detail (e.g. why the KBX could not be opened).
    QString text() const;
    QString detail() const { return detail_; }
    // Done, and nothing shown was an error: a file opened with a byte no list item matches was opened,
    // but not cleanly.
    bool clean() const { return kind_ == Done && !(message_ && severity_ == MessageKind::Error); }

    // For a device command: whether anything was written into the device, so that a caller knows
    // whether the device still holds what it held before.
    bool deviceChanged() const { return deviceChanged_; }

    CommandResult& setDeviceChanged(bool changed) {
        deviceChanged_ = changed;
        return *this;
    }
    CommandResult& setDetail(const QString& detail) {
        detail_ = detail;
        return *this;
    }
    // Keeps a message shown during the command when it tells more than the one kept so far.
    void noteMessage(MessageKind severity, Msg message, const QStringList& arguments = {});

private:
    Kind kind_;
    MessageKind severity_ = MessageKind::Information;
    std::optional<Msg> message_;
    QStringList arguments_;
    QString detail_;
    bool deviceChanged_ = false;
};

// The word the records keep for a kind (backup index, support log, line log, records window):
// done, refused, failed, cancelled.
QString ResultWord(CommandResult::Kind kind);
// The kind a record's word names; nothing for a word no kind has (an entry still under way).
std::optional<CommandResult::Kind> ResultKindFromWord(const QString& word);
// The window's text for a kind: erfolgreich, abgelehnt, fehlgeschlagen, abgebrochen.
QString ResultCaption(CommandResult::Kind kind);

} // namespace zal
