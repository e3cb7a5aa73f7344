#include "CliDialogs.h"

namespace zal::cli {
namespace {

QString KindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("error");
    case MessageKind::Warning:
        return QStringLiteral("warning");
    case MessageKind::Information:
        return QStringLiteral("information");
    case MessageKind::Question:
        return QStringLiteral("question");
    }
    return QString();
}

} // namespace

void CliDialogs::record(const QString& kind, int id, const QString& text) {
    messages_.push_back({kind, id, text});
    err_ << kind << ' ' << id << ": " << text << Qt::endl;
}

void CliDialogs::message(MessageKind kind, int id, const QString& text) {
    record(KindName(kind), id, text);
}

Answer CliDialogs::question(MessageKind, int id, const QString& text, QuestionButtons) {
    record(QStringLiteral("question"), id, text);
    err_ << "  -> " << (yes_ ? "Yes" : "No") << Qt::endl;
    return yes_ ? Answer::Yes : Answer::No;
}

int CliDialogs::choose(MessageKind, const QString& text, const QStringList&) {
    record(QStringLiteral("question"), 0, text);
    err_ << "  -> " << (choiceHint_.isEmpty() ? QStringLiteral("-") : choiceHint_) << Qt::endl;
    return -1;
}

std::optional<FileDialogResult> CliDialogs::openFile(const FileDialogRequest&) {
    if (openPaths_.empty())
        return std::nullopt;
    FileDialogResult result{openPaths_.front(), 1};
    openPaths_.pop_front();
    return result;
}

std::optional<FileDialogResult> CliDialogs::saveFile(const FileDialogRequest& request) {
    if (savePaths_.empty())
        return std::nullopt;
    // The file type stays the one the dialog preselected, which gives a name without an extension
    // the product's own.
    FileDialogResult result{savePaths_.front(), request.filterIndex > 0 ? request.filterIndex : 1, true};
    savePaths_.pop_front();
    return result;
}

} // namespace zal::cli
