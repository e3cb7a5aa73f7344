#include "QtDialogs.h"

#include "config/Products.h"
#include "shell/StringTable.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

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

// A box comes up with the arrow, not the hourglass of the command that shows it; the hourglass comes
// back when the box is gone and the command goes on.
class NormalCursor {
public:
    NormalCursor() {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
            ++count_;
        }
    }
    ~NormalCursor() {
        for (int i = 0; i < count_; ++i)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }

private:
    int count_ = 0;
};

std::optional<FileDialogResult> RunFileDialog(QWidget* parent, const FileDialogRequest& request, bool save) {
    const NormalCursor cursor;
    QFileDialog dialog(parent);
    QtDialogs::Prepare(dialog, request, save);
    const QStringList filters = dialog.nameFilters();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog.selectedFiles().first(),
                            static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

// A box as wide as its title needs: a short message would otherwise leave the window manager a title
// bar too narrow for the program's name.
void FitTitle(QMessageBox& box) {
    // The title bar's icon and buttons take about as much again as a line of its text.
    const int needed = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 2;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
}

} // namespace

void QtDialogs::Prepare(QFileDialog& dialog, const FileDialogRequest& request, bool save) {
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.folder);
    // The program asks before overwriting a file itself, with its own question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty() && !request.fileName.startsWith(u'*'))
        dialog.selectFile(request.fileName);
}

bool QtDialogs::InstallGermanQtTexts() {
    static QTranslator texts;
    if (!texts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&texts);
}

// "Text|pattern" pairs as Qt's name filters: the text without a pattern of its own in parentheses, then
// the pattern, spelt as the product's files are (".Bora", not ".bora").
QStringList QtDialogs::NameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i];
        if (const qsizetype open = text.indexOf(u'('); open > 0)
            text = text.left(open).trimmed();
        QString pattern = parts[i + 1];
        for (const ProductInfo& p : Products()) {
            const QString extension = QLatin1String(p.extension);
            if (pattern.compare(u'*' + extension, Qt::CaseInsensitive) == 0)
                pattern = u'*' + extension;
        }
        out << QStringLiteral("%1 (%2)").arg(text, pattern);
    }
    return out;
}

void QtDialogs::message(MessageKind kind, int, const QString& text) {
    const NormalCursor cursor;
    QMessageBox box(IconOf(kind), Str(10703), text, QMessageBox::Ok, parent_);
    FitTitle(box);
    box.exec();
}

Answer QtDialogs::question(MessageKind icon, int, const QString& text, QuestionButtons buttons) {
    const NormalCursor cursor;
    QMessageBox::StandardButtons choices = QMessageBox::Yes | QMessageBox::No;
    if (buttons == QuestionButtons::YesNoCancel)
        choices |= QMessageBox::Cancel;
    QMessageBox box(IconOf(icon), Str(10703), text, choices, parent_);
    if (buttons == QuestionButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    FitTitle(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == QuestionButtons::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

int QtDialogs::choose(MessageKind icon, const QString& text, const QStringList& choices) {
    const NormalCursor cursor;
    QMessageBox box(IconOf(icon), Str(10703), text, QMessageBox::Cancel, parent_);
    std::vector<QAbstractButton*> buttons;
    for (const QString& choice : choices)
        buttons.push_back(box.addButton(choice, QMessageBox::AcceptRole));
    // Enter takes none of them: each changes a device.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    FitTitle(box);
    box.exec();
    const auto taken = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return taken == buttons.end() ? -1 : static_cast<int>(taken - buttons.begin());
}

std::optional<FileDialogResult> QtDialogs::openFile(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, false);
}

std::optional<FileDialogResult> QtDialogs::saveFile(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, true);
}

} // namespace zal::gui
