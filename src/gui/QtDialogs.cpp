#include "QtDialogs.h"

#include "shell/StringTable.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace zal::gui {
namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

std::optional<FileDialogResult> RunFileDialog(QWidget* parent, const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtDialogs::NameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty() && !request.fileName.startsWith(u'*'))
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().first(),
                            static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

} // namespace

QStringList QtDialogs::NameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out;
}

void QtDialogs::message(MessageKind kind, int, const QString& text) {
    QMessageBox box(IconOf(kind), Str(10703), text, QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtDialogs::question(MessageKind icon, int, const QString& text, QuestionButtons buttons) {
    QMessageBox::StandardButtons choices = QMessageBox::Yes | QMessageBox::No;
    if (buttons == QuestionButtons::YesNoCancel)
        choices |= QMessageBox::Cancel;
    QMessageBox box(IconOf(icon), Str(10703), text, choices, parent_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<FileDialogResult> QtDialogs::openFile(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, false);
}

std::optional<FileDialogResult> QtDialogs::saveFile(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, true);
}

} // namespace zal::gui
