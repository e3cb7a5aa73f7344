// The windows over the editor core, offscreen: they mirror the core and hand user input to it.

#include "config/ImageFile.h"
#include "config/Products.h"
#include "gui/AboutDialog.h"
#include "gui/Artwork.h"
#include "gui/ChangeFixedDialogs.h"
#include "gui/DevicesDialog.h"
#include "gui/EnterDataWindow.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "gui/ReceiveRadioDialog.h"
#include "gui/RecordsDialogs.h"
#include "gui/SelectDirectoryDialog.h"
#include "report/ConfigReport.h"
#include "shell/AppFolders.h"
#include "shell/Language.h"
#include "support/SimRig.h"

#include "form/FieldText.h"
#include "form/FormLayout.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <QFileDialog>
#include <QFontMetrics>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QWheelEvent>

#include <deque>
#include <memory>

using namespace zal;
using namespace zal::gui;

namespace {

// Questions take the next scripted answer (No when none is left), save dialogs the next scripted path
// (cancelled when none).
class RecordingDialogs : public Dialogs {
public:
    void message(MessageKind, int id, const QString&) override { ids.push_back(id); }
    Answer question(MessageKind, int id, const QString&, QuestionButtons) override {
        ids.push_back(id);
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<FileDialogResult> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest&) override {
        if (paths.empty())
            return std::nullopt;
        FileDialogResult r{paths.front(), 1};
        paths.pop_front();
        return r;
    }
    std::vector<int> ids;
    std::deque<Answer> answers;
    std::deque<QString> paths;
};

// Every product at its newest layout, as the selection window's buttons start them.
const int kProducts[] = {kBora, kZal, kMuve, kMuvePlus, kMuvePlus2, kDorf};

} // namespace

class GuiTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    RecordingDialogs dialogs_;
    std::unique_ptr<test::SimRig> rig_;
    std::unique_ptr<TfrmEnterData> editor_;
    std::unique_ptr<EnterDataWindow> window_;

    template <typename T> T* widget(const char* name) {
        return qobject_cast<T*>(window_->widget(QLatin1String(name)));
    }

    // Saves a picture of a window when ZAL_SCREENSHOTS names a folder, for a look by eye.
    static void shoot(QWidget* w, const char* name) {
        const QString folder = qEnvironmentVariable("ZAL_SCREENSHOTS");
        if (!folder.isEmpty())
            w->grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
    }

    // Closes the editor window as its close box does.
    bool closeBox() {
        const bool closed = window_->close();
        QCoreApplication::processEvents();
        return closed;
    }
    // The next widget Tab moves to.
    static QWidget* nextTab(QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    }

    // The letter Alt takes a text to ("&Datei" -> 'd'); none for a text without one.
    static QChar Mnemonic(const QString& text) {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == u'&') {
                if (text[i + 1] != u'&')
                    return text[i + 1].toLower();
                ++i;
            }
        }
        return {};
    }
    // Where two items of one menu, the menu bar or one dialog share their letter, or an item that must
    // have a letter has none; empty when every letter is unique.
    static QStringList MnemonicProblems(const EnterDataWindow& window, const QList<QWidget*>& dialogs) {
        QStringList problems;
        const auto unique = [&problems](const QString& where, const QStringList& texts) {
            QHash<QChar, QString> seen;
            for (const QString& text : texts) {
                const QChar letter = Mnemonic(text);
                if (letter.isNull())
                    continue;
                if (seen.contains(letter))
                    problems << QStringLiteral("%1: %2 and %3").arg(where, seen[letter], text);
                seen.insert(letter, text);
            }
        };
        QStringList bar;
        for (QAction* a : window.menuBar()->actions())
            bar << a->text();
        unique(QStringLiteral("menu bar"), bar);
        for (auto* menu : window.findChildren<QMenu*>()) {
            QStringList items;
            for (QAction* a : menu->actions())
                if (a->isVisible())
                    items << a->text();
            unique(menu->title(), items);
        }
        for (const char* name :
             {"mnuEdit", "mnuEditUndo", "mnuEditRedo", "mnuFileCompare", "mnuFileBackups", "mnuFileReport"})
            if (Mnemonic(window.action(QLatin1String(name))->text()).isNull())
                problems << QLatin1String(name) + QStringLiteral(" has no letter");
        for (QWidget* dialog : dialogs) {
            QStringList texts;
            for (auto* w : dialog->findChildren<QAbstractButton*>()) {
                texts << w->text();
                // The program's own buttons (Qt's standard Close has its own way).
                const auto* box = qobject_cast<QDialogButtonBox*>(w->parentWidget());
                const auto* button = qobject_cast<QPushButton*>(w);
                if (box && button &&
                    box->standardButton(const_cast<QPushButton*>(button)) == QDialogButtonBox::NoButton &&
                    Mnemonic(w->text()).isNull())
                    problems << QLatin1String(dialog->metaObject()->className()) + QStringLiteral(": ") +
                                    w->text() + QStringLiteral(" has no letter");
            }
            for (auto* w : dialog->findChildren<QLabel*>())
                if (w->buddy())
                    texts << w->text();
            unique(QLatin1String(dialog->metaObject()->className()), texts);
        }
        return problems;
    }

    // Every text the window shows: captions, group titles, tabs, drop-down items, menus.
    static QStringList ShownTexts(QWidget* window) {
        QStringList texts{window->windowTitle()};
        for (auto* w : window->findChildren<QLabel*>())
            texts << w->text();
        for (auto* w : window->findChildren<QAbstractButton*>())
            texts << w->text();
        for (auto* w : window->findChildren<QGroupBox*>())
            texts << w->title();
        for (auto* w : window->findChildren<QTabBar*>()) {
            for (int i = 0; i < w->count(); ++i)
                texts << w->tabText(i);
        }
        for (auto* w : window->findChildren<QComboBox*>()) {
            for (int i = 0; i < w->count(); ++i)
                texts << w->itemText(i);
        }
        for (auto* w : window->findChildren<QTreeWidget*>()) {
            for (int i = 0; i < w->columnCount(); ++i)
                texts << w->headerItem()->text(i);
        }
        for (auto* w : window->findChildren<QMenu*>()) {
            texts << w->title();
            for (QAction* a : w->actions())
                texts << a->text();
        }
        texts.removeAll(QString());
        return texts;
    }

    void showEveryPage(const QString& folder) {
        QDir().mkpath(folder);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        for (int product : kProducts) {
            editor_->SelectProduct(product);
            // The offscreen screen is smaller than a laptop's: the size the window asks for.
            const QSize preferred = window_->preferredSize();
            QVERIFY2(preferred.width() <= 1366 && preferred.height() <= 700,
                     qPrintable(QStringLiteral("product %1 asks for %2x%3")
                                    .arg(product)
                                    .arg(preferred.width())
                                    .arg(preferred.height())));
            window_->resize(preferred);
            for (int page = 0; page < window_->tabs()->count(); ++page) {
                window_->tabs()->setCurrentIndex(page);
                QCoreApplication::processEvents();
                const QString file =
                    QStringLiteral("%1/%2-page%3.png").arg(folder).arg(product).arg(page + 1);
                QVERIFY(window_->grab().save(file));
                // Nothing needs scrolling: the page shows whole.
                auto* area = qobject_cast<QScrollArea*>(window_->tabs()->currentWidget());
                QVERIFY(area);
                QVERIFY2(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible(),
                         qPrintable(file));
            }
        }
        window_->hide();
    }

private slots:
    void initTestCase() {
        // The window remembers its place in the user's settings: not the real user's here.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral("config"))));
        QVERIFY(InstallLanguage(Language::German));
    }

    void init() {
        rig_ = std::make_unique<test::SimRig>();
        TfrmEnterData::Options options;
        options.installFolder = QStringLiteral(ZAL_BIN_DIR "/");
        options.platform.applicationData = home_.path();
        options.platform.documents = home_.path();
        options.locale = QLocale(QLocale::German, QLocale::Germany);
        options.kbxFactory = rig_->factory();
        options.clock = &rig_->clock;
        editor_ = std::make_unique<TfrmEnterData>(dialogs_, options);
        // The write preview is a window of its own: the tests that want it switch it on.
        StoreWritePreview(editor_->folders().settingsFile, false);
        window_ = std::make_unique<EnterDataWindow>(*editor_);
        dialogs_.ids.clear();
        dialogs_.answers.clear();
        dialogs_.paths.clear();
    }
    void cleanup() {
        window_.reset();
        editor_.reset();
    }

    void mirrorsTheCore() {
        editor_->SelectProduct(kZal);
        QCOMPARE(window_->tabs()->count(), 4);
        QCOMPARE(window_->windowTitle(),
                 QStringLiteral("ZAL 22.08 \u2013 (Default)[*] - ZAL family programmer"));
        QCOMPARE(widget<QLineEdit>("edtNoShortTransm")->text(), editor_->form()["edtNoShortTransm"].text);
        QCOMPARE(widget<QComboBox>("cbbxActionTxPos1")->currentText(), QStringLiteral("Aus"));
        QVERIFY(!widget<QLineEdit>("edtActionCodePos1")->isEnabled());
        window_->resize(1100, 800);
        window_->tabs()->setCurrentIndex(0);
        shoot(window_.get(), "editor-radio");
        window_->tabs()->setCurrentIndex(3);
        shoot(window_.get(), "editor-further");
        QCOMPARE(editor_->page(), 3); // a page the user shows is the editor's page
    }

    void typingGoesThroughKeyFilterAndRangeCheck() {
        editor_->SelectProduct(kZal);
        window_->show();
        QLineEdit* code = widget<QLineEdit>("edtRxCodePos1");
        code->setFocus();
        QTest::keyClicks(code, QStringLiteral("1g2h"));
        QCOMPARE(editor_->form()["edtRxCodePos1"].text, QStringLiteral("12"));
        QLineEdit* shortTransm = widget<QLineEdit>("edtNoShortTransm");
        shortTransm->clear();
        editor_->form().replaceText(editor_->form()["edtNoShortTransm"], QString());
        QTest::keyClicks(shortTransm, QStringLiteral("300"));
        QCOMPARE(editor_->form()["edtNoShortTransm"].text, QStringLiteral("255"));
        QCOMPARE(shortTransm->text(), QStringLiteral("255"));
        QCOMPARE(dialogs_.ids, std::vector<int>{10680});
        // Leaving the short-transmission field checks nothing; leaving the incomplete code does.
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(shortTransm, &leave);
        QApplication::sendEvent(code, &leave);
        QCOMPARE(dialogs_.ids, (std::vector<int>{10680, 10671}));
    }

    void userSelectionRunsTheHandlers() {
        editor_->SelectProduct(kZal);
        QComboBox* tx = widget<QComboBox>("cbbxActionTxPos4");
        const int own = IndexOfValue(editor_->form()["cbbxActionTxPos4"].list.values, 3);
        QVERIFY(own >= 0);
        emit tx->activated(own); // what the user's choice emits
        QCOMPARE(widget<QLineEdit>("edtActionCodePos4")->text(), QStringLiteral("A004"));
    }

    void menusFollowTheProduct() {
        editor_->SelectProduct(kMuvePlus);
        QVERIFY(!window_->action(QStringLiteral("mnuFileNewVersion"))->isVisible());
        QVERIFY(!window_->action(QStringLiteral("mnuChangeFixedRadioCodes"))->isVisible());
        editor_->SelectProduct(kBora);
        QVERIFY(window_->action(QStringLiteral("mnuFileNewVersion"))->isVisible());
        QCOMPARE(window_->tabs()->currentIndex(), 2);
    }

    void aDeviceCommandShowsItsOutcome() {
        rig_->engine.memory() = editor_->working();
        window_->action(QStringLiteral("mnuCommunicationReadFromDevice"))->trigger();
        QCOMPARE(window_->statusLabel()->text(), QStringLiteral("Lesen vollständig"));
        QCOMPARE(window_->windowTitle(),
                 QStringLiteral("BORA 22.08 \u2013 (aus Gerät ausgelesen) \u00b7 BORA 000000[*] - ZAL family "
                                "programmer"));
    }

    void backupsCompareAndReportFromTheWindow() {
        for (const char* name :
             {"mnuFileCompare", "mnuFileBackups", "mnuFileReport", "mnuHelpSupport", "mnuHelpTrace"})
            QVERIFY2(window_->action(QLatin1String(name)), name);
        editor_->SelectProduct(kZal);
        ConfigImage pristine = editor_->working();
        pristine[0xFF] = 0x77; // serial 119
        rig_->engine.memory() = pristine;
        window_->action(QStringLiteral("mnuCommunicationReadFromDevice"))->trigger();

        BackupsDialog backups(*editor_, window_.get());
        QVERIFY(backups.list()->topLevelItemCount() >= 1);
        QCOMPARE(backups.list()->topLevelItem(0)->text(3), QStringLiteral("000119"));
        QCOMPARE(backups.list()->topLevelItem(0)->text(5), QStringLiteral("Lesen"));
        QCOMPARE(backups.list()->headerItem()->text(7), QStringLiteral("Station"));
        QCOMPARE(backups.list()->topLevelItem(0)->text(7), editor_->backups().station());
        // A serial number narrows the list to its device; one no device has empties it.
        const int all = backups.list()->topLevelItemCount();
        for (const char* serial : {"119", "4711", ""}) {
            backups.serialFilter()->setText(QLatin1String(serial));
            backups.refresh();
            int shown = 0;
            for (QTreeWidgetItemIterator it(backups.list()); *it; ++it, ++shown)
                QVERIFY(!*serial || (*it)->text(3) == QStringLiteral("000119"));
            if (*serial == '1')
                QVERIFY(shown >= 1);
            else
                QCOMPARE(shown, *serial ? 0 : all);
        }
        const QString path = backups.selectedPath();

        // The device is changed; the pristine copy is opened (the edits given up) and written back.
        rig_->engine.memory()[0x50] = 9;
        editor_->form().setText(editor_->form()["edtNoShortTransm"], QStringLiteral("5"));
        dialogs_.answers = {Answer::No};
        QVERIFY(backups.writeSelected(false));
        QCOMPARE(editor_->fileName(), path);
        QCOMPARE(rig_->engine.memory()[0x50], pristine[0x50]);
        QVERIFY(dialogs_.ids.back() == 10619);

        // The device's history: found by its serial number or radio ID, the backup kept before the
        // write-back with the field the device had changed, openable from there.
        DevicesDialog devices(*editor_, window_.get());
        devices.show();
        QVERIFY(QTest::qWaitForWindowExposed(&devices));
        QCOMPARE(QApplication::focusWidget(), devices.filter()); // typing a serial number finds it
        const QString radioId = devices.shownDevice(0).device.radioId;
        // What is typed narrows the list to the devices it names; one no device has empties it.
        devices.refresh();
        const int listed = devices.shownDevices();
        for (const QString& typed : {QStringLiteral("4711"), radioId, QString(), QStringLiteral("119")}) {
            devices.filter()->setText(typed);
            devices.refresh();
            for (int row = 0; row < devices.shownDevices(); ++row) {
                const DeviceIdentity& d = devices.shownDevice(row).device;
                QVERIFY(d.serial.contains(typed) || d.radioId.contains(typed));
            }
            if (typed.isEmpty())
                QCOMPARE(devices.shownDevices(), listed);
            else
                QCOMPARE(devices.shownDevices() > 0, typed != QLatin1String("4711"));
        }
        for (int row = 0; row < devices.shownDevices(); ++row) {
            if (devices.shownDevice(row).device.serial == QLatin1String("000119") &&
                devices.shownDevice(row).device.product == kZal)
                devices.chooseDevice(row);
        }
        QCOMPARE(devices.devices()->currentIndex().siblingAtColumn(2).data().toString(),
                 QStringLiteral("000119"));
        int withFile = 0;
        for (int i = 0; i < devices.history()->topLevelItemCount(); ++i)
            withFile += !devices.history()->topLevelItem(i)->toolTip(0).isEmpty();
        QCOMPARE(devices.devices()->currentIndex().siblingAtColumn(6).data().toInt(),
                 withFile); // its backups, counted as shown
        // The newest is the write-back itself, with its own change: the 9 the device held goes.
        QVERIFY(devices.history()->topLevelItemCount() >= 3);
        QTreeWidgetItem* event = devices.history()->topLevelItem(0);
        QVERIFY(event->toolTip(0).isEmpty());
        QCOMPARE(event->childCount(), 1);
        QCOMPARE(event->child(0)->text(1), QStringLiteral("9"));
        QTreeWidgetItem* kept = devices.history()->topLevelItem(1);
        kept->setExpanded(true);
        QCOMPARE(kept->childCount(), 1);
        QCOMPARE(kept->child(0)->text(2), QStringLiteral("9"));
        devices.history()->setCurrentItem(kept->child(0)); // a change row stands for its backup
        dialogs_.answers = {Answer::No};
        shoot(&devices, "devices");
        QVERIFY(devices.openSelected());
        QVERIFY(editor_->fileName().endsWith(kept->toolTip(0)));
        QVERIFY(editor_->OpenPath(path));

        // Enter on a listed backup opens it, as a double click does: the newest, kept before the write.
        BackupsDialog again(*editor_, window_.get());
        const QString newest = again.list()->topLevelItem(0)->toolTip(0);
        QVERIFY(!path.endsWith(newest));
        dialogs_.answers = {Answer::No};
        QTest::keyClick(again.list(), Qt::Key_Return);
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QVERIFY2(editor_->fileName().endsWith(newest), qPrintable(editor_->fileName()));
        QVERIFY(editor_->OpenPath(path)); // the pristine copy again, for the comparison

        // Compared with another file: the one difference, page by page.
        ConfigImage other = pristine;
        other[0x50] = 9;
        const QString otherPath = home_.filePath(QStringLiteral("other.Zal"));
        QVERIFY(SaveImageFile(otherPath, other));
        const auto rows = editor_->CompareWith(otherPath);
        QVERIFY(rows && rows->size() == 1);
        CompareDialog compare(*editor_, otherPath, *rows, window_.get());
        QTreeWidgetItem* page = compare.tree()->topLevelItem(0);
        QCOMPARE(page->text(0), QStringLiteral("Weitere"));
        QCOMPARE(page->child(0)->child(0)->text(2), QStringLiteral("9"));
        compare.show();
        shoot(&compare, "compare");

        // The report as the window exports it.
        QVERIFY(ExportReport(*editor_, home_.filePath(QStringLiteral("r.pdf"))));
        QVERIFY(QFileInfo(home_.filePath(QStringLiteral("r.pdf"))).size() > 1000);
        // The printer the preview lays out on gives the pages the export wrote.
        QPrinter printer(QPrinter::HighResolution);
        printer.setResolution(1200);
        PrepareReportPage(printer);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(home_.filePath(QStringLiteral("printed.pdf")));
        PaintReport(BuildReport(*editor_), printer);
        const auto pages = [this](const char* name) {
            QFile pdf(home_.filePath(QLatin1String(name)));
            return pdf.open(QIODevice::ReadOnly)
                       ? QString::fromLatin1(pdf.readAll())
                             .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")))
                       : -1;
        };
        QVERIFY(pages("r.pdf") > 1);
        QCOMPARE(pages("printed.pdf"), pages("r.pdf"));
        QVERIFY(ExportReport(*editor_, home_.filePath(QStringLiteral("r.html"))));
    }

    void learningWindowClosesWhenACodeArrives() {
        editor_->SelectProduct(kZal);
        rig_->engine.options().learnCode = QStringLiteral("7A7A");
        rig_->engine.options().learnAfterPolls = 1;
        window_->show();
        QPushButton* button = window_->findChild<QPushButton*>(QStringLiteral("btnReceiveRadioCode2"));
        QVERIFY(button);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, this, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        watchdog.start(10000);
        button->click();
        QCOMPARE(editor_->form()["edtRxCodePos2"].text, QStringLiteral("7A7A"));
        QCOMPARE(widget<QLineEdit>("edtRxCodePos2")->text(), QStringLiteral("7A7A"));
    }

    void changeFixedWindowDerivesTheCodes() {
        rig_->engine.memory() = editor_->working();
        QVERIFY(editor_->changeFixed().Prepare());
        ChangeFixedDialog dialog(editor_->changeFixed());
        dialog.show();
        QTest::keyClicks(dialog.newField(0), QStringLiteral("fffe"));
        QCOMPARE(dialog.newField(0)->text(), QStringLiteral("FFFE"));
        QCOMPARE(dialog.newField(1)->text(), QStringLiteral("0001"));
        QCOMPARE(dialog.newField(5)->text(), QStringLiteral("0005"));
        shoot(&dialog, "change-fixed");
    }

    // Enter in a code field writes nothing: no button is the default, and the write button waits for
    // whole codes.
    void enterInTheFixedCodeWindowWritesNothing() {
        rig_->engine.memory() = editor_->working();
        const ConfigImage device = rig_->engine.memory();
        QVERIFY(editor_->changeFixed().Prepare());
        ChangeFixedDialog dialog(editor_->changeFixed());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        rig_->takeSent();
        QTest::keyClicks(dialog.newField(0), QStringLiteral("b10"));
        QVERIFY(!dialog.writeButton()->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(dialog.isVisible());
        QVERIFY(rig_->takeSent().empty());
        QCOMPARE(rig_->engine.memory(), device);
        QTest::keyClicks(dialog.newField(0), QStringLiteral("0"));
        QVERIFY(dialog.writeButton()->isEnabled());
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            QVERIFY(!b->isDefault() && !b->autoDefault());
    }

    // Page keys switch pages from any field; a drop-down with the focus keeps its value.
    void pageKeysNeverChangeAValue() {
        editor_->SelectProduct(kZal);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->tabs()->setCurrentIndex(0);
        auto* combo = widget<QComboBox>("cbbxActionAlarmTypePos1");
        combo->setFocus();
        QCoreApplication::processEvents();
        const int value = editor_->form()["cbbxActionAlarmTypePos1"].index;
        const struct {
            QKeyCombination key;
            int page;
        } steps[] = {
            {Qt::CTRL | Qt::Key_PageDown, 1}, {Qt::CTRL | Qt::Key_PageUp, 3}, {Qt::CTRL | Qt::Key_Tab, 1}};
        for (const auto& step : steps) {
            QTest::keyClick(QApplication::focusWidget(), step.key.key(), step.key.keyboardModifiers());
            QCOMPARE(window_->tabs()->currentIndex(), step.page);
            // No drop-down of the new page has the focus, to take the wheel meant for the page.
            QVERIFY(!qobject_cast<QComboBox*>(QApplication::focusWidget()));
            window_->tabs()->setCurrentIndex(0);
            combo->setFocus();
        }
        // The same inside the drop-down's open list: the list closes as it was and the page switches.
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(window_->tabs()->currentIndex(), 1);
        QVERIFY(!combo->view()->isVisible());
        QCOMPARE(editor_->form()["cbbxActionAlarmTypePos1"].index, value);
        QCOMPARE(combo->currentIndex(), value);
        window_->hide();
    }

    // New, Open and Read ask before they discard edits; Cancel keeps them. A code field shows what
    // will be stored once it is left.
    void editsAreNeverDiscardedUnasked() {
        editor_->SelectProduct(kZal);
        rig_->engine.memory() = editor_->working();
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto* code = widget<QLineEdit>("edtRxCodePos1");
        code->setFocus();
        QTest::keyClicks(code, QStringLiteral("12a"));
        QTest::keyClick(code, Qt::Key_Tab);
        QCOMPARE(code->text(), QStringLiteral("12A0"));
        QVERIFY(window_->isWindowModified());
        for (const char* menu : {"mnuFileNew", "mnuFileOpen", "mnuCommunicationReadFromDevice"}) {
            dialogs_.ids.clear();
            dialogs_.answers = {Answer::Cancel};
            window_->action(QLatin1String(menu))->trigger();
            QCOMPARE(dialogs_.ids, std::vector<int>{10607});
            QCOMPARE(editor_->form()["edtRxCodePos1"].text, QStringLiteral("12A0"));
        }
        QVERIFY(rig_->takeSent().empty());
        dialogs_.answers = {Answer::No}; // give the edits up
        window_->action(QStringLiteral("mnuCommunicationReadFromDevice"))->trigger();
        QCOMPARE(editor_->form()["edtRxCodePos1"].text, QString());
        QVERIFY(!window_->isWindowModified());
        QVERIFY(!window_->editor().form().canUndo()); // a read starts a new history
        window_->hide();
    }

    // A drop-down choice and what its rules did to other fields are one step; undo takes back all.
    void undoTakesBackOneActionWhole() {
        editor_->SelectProduct(kZal);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto* tx = widget<QComboBox>("cbbxActionTxPos1");
        const std::vector<Field> before = editor_->form().snapshot();
        const int txBefore = tx->currentIndex();
        const QString codeBefore = widget<QLineEdit>("edtActionCodePos1")->text();
        tx->setFocus();
        QTest::keyClick(tx, Qt::Key_Down); // a closed drop-down takes the next item, as the user chose it
        QCoreApplication::processEvents();
        const QString code = widget<QLineEdit>("edtActionCodePos1")->text();
        QVERIFY(code != codeBefore); // the choice's rules filled the code field
        QCOMPARE(window_->editor().form().undoCount(), 1);
        QTest::keyClick(tx, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(FormModel::SameContent(editor_->form().snapshot(), before));
        QCOMPARE(tx->currentIndex(), txBefore);
        QCOMPARE(widget<QLineEdit>("edtActionCodePos1")->text(), codeBefore);
        QVERIFY(!window_->isWindowModified());
        QTest::keyClick(tx, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(widget<QLineEdit>("edtActionCodePos1")->text(), code);
        window_->hide();
    }

    // The preview lists exactly the fields that differ; Abbrechen writes nothing.
    void thePreviewShowsTheChangesAndCancelWritesNothing() {
        StoreWritePreview(editor_->folders().settingsFile, true);
        editor_->SelectProduct(kZal);
        rig_->engine.memory() = editor_->working();
        const ConfigImage device = rig_->engine.memory();
        editor_->form().setText(editor_->form()["edtNoShortTransm"], QStringLiteral("7"));
        int rows = -1;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* preview = dynamic_cast<WritePreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            watch.stop();
            rows = 0;
            for (QTreeWidgetItemIterator it(preview->tree(), QTreeWidgetItemIterator::NoChildren); *it; ++it)
                rows += (*it)->text(2) == QStringLiteral("7") ? 1 : 100;
            // It names the device it writes into.
            bool named = false;
            for (const QLabel* label : preview->findChildren<QLabel*>())
                named = named || label->text().contains(QStringLiteral("ZAL 22.08, Seriennummer "));
            rows += named ? 0 : 1000;
            shoot(preview, "preview");
            QTest::mouseClick(preview->cancelButton(), Qt::LeftButton);
        });
        watch.start(10);
        window_->action(QStringLiteral("mnuCommunicationWriteToDevice"))->trigger();
        QCOMPARE(rows, 1);
        QCOMPARE(rig_->engine.memory(), device);
        QCOMPARE(editor_->form()["edtNoShortTransm"].text, QStringLiteral("7"));

        // Written once, the device holds the configuration: Enter in the next preview writes nothing.
        disconnect(&watch, nullptr, this, nullptr);
        rows = -1;
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* preview = dynamic_cast<WritePreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            watch.stop();
            if (rows < 0) {
                rows = 0;
                QTest::mouseClick(preview->writeButton(), Qt::LeftButton);
                return;
            }
            rows = preview->tree()->topLevelItemCount();
            // Enter where the technician's focus is: the dialog active, on the widget it gave the focus.
            preview->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(preview));
            QTest::keyClick(preview->focusWidget() ? preview->focusWidget() : preview, Qt::Key_Return);
        });
        watch.start(10);
        window_->action(QStringLiteral("mnuCommunicationWriteToDevice"))->trigger();
        QCOMPARE(rig_->engine.memory()[0x50], 7);
        watch.start(10);
        rig_->takeSent();
        window_->action(QStringLiteral("mnuCommunicationWriteToDevice"))->trigger();
        QCOMPARE(rows, 0);
        for (const QByteArray& command : rig_->takeSent())
            QVERIFY(!command.startsWith('W'));
    }

    // Abbrechen during a write stops it before the next chunk; the message names what went out.
    void cancelStopsAWriteWithinOneChunk() {
        editor_->SelectProduct(kZal);
        rig_->engine.memory() = editor_->working();
        editor_->form().setText(editor_->form()["edtNoShortTransm"], QStringLiteral("7"));
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        auto* bar = window_->findChild<QProgressBar*>();
        int clickedAt = -1;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            // The read before the write is 16 chunks between two reads of the identity, and the
            // identity is read once more before the first frame.
            if (clickedAt < 0 && value == 22) {
                clickedAt = value;
                QTest::mouseClick(window_->cancelButton(), Qt::LeftButton);
            }
        });
        rig_->takeSent();
        window_->action(QStringLiteral("mnuCommunicationWriteToDevice"))->trigger();
        QCOMPARE(clickedAt, 22);
        int writes = 0;
        for (const QByteArray& command : rig_->takeSent())
            writes += command.startsWith('W');
        QCOMPARE(writes, 4); // chunks 19-22 were writes; nothing after the click
        QCOMPARE(window_->statusLabel()->text(), QStringLiteral("Schreiben abgebrochen"));
        QVERIFY(dialogs_.ids.back() == 0); // the question offering the device's former content

        // Escape during the read before the write: nothing is written, and nothing is asked.
        const ConfigImage before = rig_->engine.memory();
        dialogs_.ids.clear();
        disconnect(bar, nullptr, this, nullptr);
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value == 5)
                QTest::keyClick(window_.get(), Qt::Key_Escape);
        });
        rig_->takeSent();
        window_->action(QStringLiteral("mnuCommunicationWriteToDevice"))->trigger();
        for (const QByteArray& command : rig_->takeSent())
            QVERIFY(!command.startsWith('W'));
        QCOMPARE(rig_->engine.memory(), before);
        QVERIFY(dialogs_.ids.empty());
        QCOMPARE(window_->statusLabel()->text(), QStringLiteral("Schreiben abgebrochen"));
        window_->hide();
    }

    // While a write runs, no menu item and no shortcut starts anything: undo, read and new do nothing,
    // the write ends as it began, and every item comes back after it.
    void keysDuringATransferStartNothing() {
        editor_->SelectProduct(kZal);
        rig_->engine.memory() = editor_->working();
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        editor_->form().replaceText(editor_->form()["edtNoShortTransm"], QStringLiteral("7")); // an undo step
        QAction* undo = window_->action(QStringLiteral("mnuEditUndo"));
        QAction* read = window_->action(QStringLiteral("mnuCommunicationReadFromDevice"));
        QVERIFY(undo->isEnabled() && read->isEnabled());
        auto* bar = window_->findChild<QProgressBar*>();
        bool offDuring = false;
        connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
            if (value != 20)
                return;
            offDuring = !undo->isEnabled() && !read->isEnabled();
            QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window_.get();
            for (const QKeyCombination keys :
                 {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_R, Qt::CTRL | Qt::Key_N})
                QTest::keyClick(focus, keys.key(), keys.keyboardModifiers());
        });
        dialogs_.answers = {Answer::No, Answer::No};
        window_->action(QStringLiteral("mnuCommunicationWriteToDevice"))->trigger();
        QVERIFY(offDuring);
        QCOMPARE(dialogs_.ids, std::vector<int>{10619}); // no question, only "Programmierung fertig"
        QCOMPARE(rig_->engine.memory()[0x50], 7);
        QCOMPARE(editor_->form()["edtNoShortTransm"].text, QStringLiteral("7"));
        QVERIFY(read->isEnabled());
        QCOMPARE(undo->isEnabled(), window_->editor().form().canUndo());
        window_->hide();
    }

    // Undo and redo show where they act: the step's page comes up with its field focused, and the status
    // bar names the step.
    void undoShowsWhereItActs() {
        editor_->SelectProduct(kZal);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        Field& field = editor_->form()["edtNoShortTransm"];
        editor_->form().replaceText(field, QStringLiteral("7")); // an undo step
        auto* tabs = window_->findChild<QTabWidget*>();
        const int page = FormGroupPage(field.decl->group);
        tabs->setCurrentIndex(page == 0 ? 1 : 0);
        const QString where = PageCaption(field) + QStringLiteral(" / ") + FieldCaption(field);
        for (const auto& [name, said] :
             {std::pair{"mnuEditUndo", "Rückgängig: "}, std::pair{"mnuEditRedo", "Wiederholen: "}}) {
            window_->action(QLatin1String(name))->trigger();
            QCOMPARE(tabs->currentIndex(), page);
            QCOMPARE(window_->statusLabel()->text(), QString::fromUtf8(said) + where);
            QTRY_COMPARE(QApplication::focusWidget(), window_->widget(QStringLiteral("edtNoShortTransm")));
            tabs->setCurrentIndex(page == 0 ? 1 : 0);
        }
        QCOMPARE(field.text, QStringLiteral("7"));
        shoot(window_.get(), "undo");
        window_->hide();
    }

    // The report preview keeps Drucken and Exportieren in view on a narrow screen (1024 pixels wide),
    // never behind the toolbar's overflow.
    void theReportPreviewKeepsPrintAndExportInView() {
        editor_->SelectProduct(kZal);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        bool inView = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            auto* bar = preview ? preview->findChild<QToolBar*>() : nullptr;
            if (!bar)
                return;
            preview->resize(1000, 700);
            QCoreApplication::processEvents();
            QAction* exportAction = bar->findChild<QAction*>(QStringLiteral("exportReport"));
            const QList<QAction*> actions = bar->actions();
            inView = exportAction && !actions.isEmpty() && bar->widgetForAction(actions.first()) &&
                     bar->widgetForAction(actions.first())->isVisible() &&
                     bar->widgetForAction(exportAction) && bar->widgetForAction(exportAction)->isVisible();
            shoot(preview, "report");
            preview->close();
        });
        window_->action(QStringLiteral("mnuFileReport"))->trigger();
        QVERIFY(inView);
        window_->hide();
    }

    // One customer's configuration written into another device: the page, the title and the report name
    // the device written, with its own serial number and radio ID.
    void aWriteIntoAnotherDeviceNamesThatDevice() {
        editor_->SelectProduct(kZal);
        ConfigImage file = editor_->working();
        WriteU16BE(file, 0xFE, 4711);
        WriteU16BE(file, 0x10, 0xB101);
        ConfigImage other = file;
        WriteU16BE(other, 0xFE, 4712);
        WriteU16BE(other, 0x10, 0xB201);
        editor_->setWorking(file);
        editor_->FillFields();
        rig_->engine.memory() = other;
        QVERIFY(editor_->WriteToDevice());
        QCOMPARE(editor_->form()["edtSerialNumber"].text, QStringLiteral("4712"));
        QVERIFY(editor_->title().contains(QStringLiteral("ZAL 004712")));
        const ConfigReport report = BuildReport(*editor_);
        QCOMPARE(report.serial, QStringLiteral("4712"));
        QCOMPARE(report.radioId, QStringLiteral("B201"));
        for (const ReportRow& row : report.rows)
            QVERIFY2(!row.value.contains(QStringLiteral("B101")), qPrintable(row.caption));
    }

    // The devices window sorts by a click on any column header (serial numbers as numbers), and after a
    // write from it, its row and history are current, with the same device chosen.
    void theDevicesWindowSortsAndFollowsAWrite() {
        editor_->SelectProduct(kZal);
        ConfigImage image = editor_->working();
        for (const int serial : {119, 5, 20}) {
            image[0xFF] = static_cast<std::uint8_t>(serial);
            rig_->engine.memory() = image;
            QVERIFY(editor_->ReadFromDevice());
        }
        DevicesDialog devices(*editor_, window_.get());
        devices.show();
        QVERIFY(QTest::qWaitForWindowExposed(&devices));
        QHeaderView* header = devices.devices()->header();
        const auto serials = [&devices] {
            QStringList shown;
            for (int row = 0; row < devices.shownDevices(); ++row) // this test's devices, in their order
                if (QStringList{"000005", "000020", "000119"}.contains(
                        devices.shownDevice(row).device.serial))
                    shown << devices.shownDevice(row).device.serial;
            return shown;
        };
        const QPoint serialColumn(header->sectionViewportPosition(2) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, serialColumn);
        QCOMPARE(header->sortIndicatorSection(), 2);
        QCOMPARE(serials(), (QStringList{"000005", "000020", "000119"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, serialColumn);
        QCOMPARE(serials(), (QStringList{"000119", "000020", "000005"}));

        // The device changes; its backup goes back from here.
        for (int row = 0; row < devices.shownDevices(); ++row)
            if (devices.shownDevice(row).device.serial == QLatin1String("000020"))
                devices.chooseDevice(row);
        const QDateTime seen = devices.shownDevice(devices.devices()->currentIndex().row()).lastSeen;
        rig_->engine.memory()[0x50] = 9;
        devices.history()->setCurrentItem(devices.history()->topLevelItem(0));
        QVERIFY(devices.writeSelected(false));
        QCOMPARE(rig_->engine.memory()[0x50], image[0x50]);
        const DeviceRecord& now = devices.shownDevice(devices.devices()->currentIndex().row());
        QCOMPARE(now.device.serial, QStringLiteral("000020"));
        QVERIFY(now.lastSeen > seen);
        QTreeWidgetItem* newest = devices.history()->topLevelItem(0);
        QVERIFY(newest->toolTip(0).isEmpty()); // the write itself, read back
        QCOMPARE(newest->childCount(), 1);
        QCOMPARE(newest->child(0)->text(1), QStringLiteral("9"));
        QCOMPARE(serials(), (QStringList{"000119", "000020", "000005"})); // still sorted
        shoot(&devices, "devices-sorted");
    }

    // Closing the editor brings the selection window back, after the event loop has run; only the
    // selection window ends the program.
    void closingTheEditorBringsBackTheSelection() {
        MainWindow main(*editor_, *window_);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.productButton(kMuve)->setFocus();
        QTest::keyClick(main.productButton(kMuve), Qt::Key_Return); // Enter presses a focused button
        QTRY_VERIFY(window_->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(editor_->product(), kMuve);
        QVERIFY(closeBox()); // nothing changed: closes without a question
        QTRY_VERIFY(main.isVisible());
        QVERIFY(!window_->isVisible());
        QVERIFY(dialogs_.ids.empty());
        QCOMPARE(editor_->product(), kBora);
        QCOMPARE(editor_->fileState(), fsNew);
    }

    // Each product row's button opens the editor on that product, which offers "New version" with the
    // product's own layouts only: a product added to the rows is chosen as the others are.
    void everyProductButtonOpensItsEditor() {
        MainWindow main(*editor_, *window_);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const std::pair<const char*, int> versions[] = {{"mnuFileNewVersionV1x", kVersionV1x},
                                                        {"mnuFileNewVersionV20xx", kVersionV20},
                                                        {"mnuFileNewVersionV21xx", kVersionV21},
                                                        {"mnuFileNewVersionV22xx", kVersionV22}};
        for (const ProductInfo& p : Products()) {
            QPushButton* button = main.productButton(p.code);
            QVERIFY(button);
            QCOMPARE(button->text(), QString::fromUtf8(p.buttonCaption.get()));
            QTest::mouseClick(button, Qt::LeftButton);
            QTRY_VERIFY(window_->isVisible());
            QCOMPARE(editor_->product(), p.code);
            QCOMPARE(editor_->version(), NewestLayout(p.code));
            QVERIFY(window_->windowTitle().startsWith(QString::fromLatin1(p.model.get()) + u' '));
            QCOMPARE(window_->action(QStringLiteral("mnuFileNewVersion"))->isVisible(),
                     LayoutsOf(p.code).size() > 1);
            for (const auto& [name, version] : versions)
                QCOMPARE(window_->action(QLatin1String(name))->isVisible(), HasLayout(p.code, version));
            QVERIFY(closeBox());
            QTRY_VERIFY(main.isVisible());
        }
        QVERIFY(dialogs_.ids.empty());
    }

    // A file named on the command line (a file manager opening it) goes straight into the editor.
    void aFileOpensStraightIntoTheEditor() {
        MainWindow main(*editor_, *window_);
        const QString path = home_.filePath(QStringLiteral("opened.Muve"));
        editor_->SelectProduct(kMuve);
        dialogs_.paths = {path};
        QVERIFY(static_cast<bool>(editor_->FileSaveAs()));
        editor_->ResetOnClose();
        main.openFile(path);
        QTRY_VERIFY(window_->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(editor_->product(), kMuve);
        QCOMPARE(window_->windowTitle(),
                 QStringLiteral("MUVE 22.08 \u2013 opened.Muve[*] - ZAL family programmer"));
        QVERIFY(closeBox());
        QTRY_VERIFY(main.isVisible());
        main.openFile(home_.filePath(QStringLiteral("missing.Muve"))); // not taken: the selection stays
        QVERIFY(main.isVisible());
        QVERIFY(!window_->isVisible());
    }

    void escapeAndEnterNeverCloseOrLearn() {
        editor_->SelectProduct(kZal);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QWidget* first = QApplication::focusWidget();
        QCOMPARE(first, window_->widget(QStringLiteral("edtRxCodePos1"))); // a field, not a button
        QTest::keyClick(first, Qt::Key_Return);
        QTest::keyClick(first, Qt::Key_Escape);
        QTest::keyClick(window_.get(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(window_->isVisible());
        QVERIFY(rig_->sent.empty()); // no learning started
        for (QPushButton* b : window_->findChildren<QPushButton*>())
            QVERIFY(!b->isDefault() && !b->autoDefault());
        window_->hide();
    }

    // Tab runs along the rows: the code of a position, its "..." button, then the next position.
    void tabRunsAlongTheRows() {
        const auto w = [this](const char* name) { return window_->widget(QLatin1String(name)); };
        QCOMPARE(nextTab(w("edtRxCodePos1")), w("btnReceiveRadioCode1"));
        QCOMPARE(nextTab(w("btnReceiveRadioCode1")), w("edtRxCodePos2"));
        QCOMPARE(nextTab(w("cbbxActionRelayPos1")), w("cbbxActionTxPos1"));
        QCOMPARE(nextTab(w("edtActionTransmissionDelayPos1")), w("cbbxActionRelayPos2"));
    }

    void theWheelOverAnUnfocusedDropDownChangesNothing() {
        editor_->SelectProduct(kZal);
        window_->open();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->widget(QStringLiteral("edtRxCodePos1"))->setFocus();
        auto* combo = widget<QComboBox>("cbbxBatteryAlarm");
        window_->tabs()->setCurrentIndex(3);
        const int before = combo->currentIndex();
        const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        QCOMPARE(combo->currentIndex(), before);
        QCOMPARE(editor_->form()["cbbxBatteryAlarm"].index, before);
        window_->hide();
    }

    // The exit paths: nothing is lost unless the technician says so.
    void exitPathsKeepTheEdits() {
        editor_->SelectProduct(kZal);
        window_->open();
        const auto edit = [this](const QString& text) {
            editor_->form().replaceText(editor_->form()["edtNoShortTransm"], text);
        };
        const auto exit = [this] { window_->action(QStringLiteral("mnuFileExit"))->trigger(); };
        edit(QStringLiteral("7"));
        const QString title = window_->windowTitle();

        dialogs_.answers = {Answer::Cancel};
        exit();
        QVERIFY(window_->isVisible());

        dialogs_.answers = {Answer::Yes}; // and the Save As dialog is cancelled
        exit();
        QVERIFY(window_->isVisible());
        QCOMPARE(editor_->form()["edtNoShortTransm"].text, QStringLiteral("7"));

        dialogs_.answers = {Answer::Yes}; // and the save fails
        dialogs_.paths = {home_.filePath(QStringLiteral("no/such/folder/x.Zal"))};
        dialogs_.ids.clear();
        exit();
        QVERIFY(window_->isVisible());
        QCOMPARE(dialogs_.ids, (std::vector<int>{10607, 10605}));
        QCOMPARE(window_->windowTitle(), title); // names no file that does not exist
        QCOMPARE(editor_->fileName(), QString());

        // The close box asks the same question when there is something to lose.
        dialogs_.ids.clear();
        dialogs_.answers = {Answer::Cancel};
        QVERIFY(!closeBox());
        QCOMPARE(dialogs_.ids, std::vector<int>{10607});
        dialogs_.answers = {Answer::No};
        QVERIFY(closeBox());
        QVERIFY(!window_->isVisible());

        // File, Exit, Yes with a save that works closes.
        editor_->SelectProduct(kZal);
        window_->open();
        edit(QStringLiteral("8"));
        dialogs_.answers = {Answer::Yes};
        dialogs_.paths = {home_.filePath(QStringLiteral("saved.Zal"))};
        exit();
        QCoreApplication::processEvents();
        QVERIFY(!window_->isVisible());
        QVERIFY(QFile::exists(home_.filePath(QStringLiteral("saved.Zal"))));
    }

    // What the core holds, the window shows whole: no text cut by a maximum length or a narrow field.
    void textsAreShownWhole() {
        for (int product : kProducts) {
            editor_->SelectProduct(product);
            for (const Field& f : editor_->form().fields()) {
                QWidget* w = window_->widget(f.name());
                if (f.decl->hidden || !w)
                    continue;
                if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                    QCOMPARE(edit->text(), f.text);
                    QVERIFY2(edit->fontMetrics().horizontalAdvance(f.text) + 8 <= edit->width(),
                             qPrintable(f.name() + QStringLiteral(" cuts ") + f.text));
                } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
                    QCOMPARE(combo->currentText(), f.selectedText());
                    for (const QString& item : f.list.items)
                        QVERIFY2(combo->fontMetrics().horizontalAdvance(item) + 20 <= combo->width(),
                                 qPrintable(f.name() + QStringLiteral(" cuts ") + item));
                }
            }
        }
        // Typing stops at the maximum length; a longer text the program sets stays whole.
        editor_->SelectProduct(kZal);
        auto* code = widget<QLineEdit>("edtRxCodePos3");
        code->setFocus();
        QTest::keyClicks(code, QStringLiteral("12345"));
        QCOMPARE(editor_->form()["edtRxCodePos3"].text, QStringLiteral("1234"));
    }

    void productInformationIsReadOnlyButSelectable() {
        editor_->SelectProduct(kMuvePlus2);
        for (const char* name :
             {"edtSerialNumber", "edtProgramVersion", "edtFrequencyRegion", "edtRadioCalibration"}) {
            auto* edit = widget<QLineEdit>(name);
            QVERIFY2(edit->isReadOnly() && edit->isEnabled(), name);
        }
    }

    // For every product and page, the window fits a 1366 x 768 laptop with a title bar and a panel.
    void everyPageFitsALaptopScreen() {
        for (int product : kProducts) {
            editor_->SelectProduct(product);
            for (int page = 0; page < window_->tabs()->count(); ++page) {
                window_->tabs()->setCurrentIndex(page);
                const QSize size = window_->preferredSize();
                QVERIFY2(size.width() <= 1366 && size.height() <= 700,
                         qPrintable(QStringLiteral("product %1 page %2: %3 x %4")
                                        .arg(product)
                                        .arg(page)
                                        .arg(size.width())
                                        .arg(size.height())));
            }
        }
    }

    // On a 1024 x 768 screen the columns that do not fit go below the others: no page scrolls sideways.
    // A page narrower than its columns' preferred widths (a laptop's window frame) keeps them side by
    // side as long as they fit at their minimum: they give up the slack right of their fields.
    void aSmallScreenScrollsOnlyDown() {
        window_->show();
        window_->resize(1024, 700);
        for (int product : kProducts) {
            editor_->SelectProduct(product);
            for (int page = 0; page < window_->tabs()->count(); ++page) {
                window_->tabs()->setCurrentIndex(page);
                QCoreApplication::processEvents();
                auto* area = qobject_cast<QScrollArea*>(window_->tabs()->currentWidget());
                QVERIFY(area);
                const QString where = QStringLiteral("product %1 page %2").arg(product).arg(page);
                QVERIFY2(area->horizontalScrollBar()->maximum() == 0, qPrintable(where));
                // Wide enough for every column at its minimum: one row, as high as at the preferred width.
                const QLayout* columns = area->widget()->layout();
                const QMargins margins = columns->contentsMargins();
                int minimum = margins.left() + margins.right() - columns->spacing();
                for (int i = 0; i < columns->count(); ++i)
                    minimum += columns->itemAt(i)->minimumSize().width() + columns->spacing();
                QVERIFY2(columns->heightForWidth(minimum) ==
                             columns->heightForWidth(columns->sizeHint().width()),
                         qPrintable(where));
            }
        }
        window_->hide();
    }

    // Pictures of every page of every product, for a reviewer's look: build/screenshots/ (German) and
    // build/screenshots/en/. Every page shows whole, without scrolling, on a 1366x768 screen.
    void screenshotsOfEveryPage() { showEveryPage(QStringLiteral(ZAL_SCREENSHOT_DIR)); }

    // Hilfe > Sprache keeps the choice for the next start; the window goes on in its language.
    void theLanguageChosenHoldsFromTheNextStart() {
        QVERIFY(!ChosenLanguage());
        window_->action(QStringLiteral("mnuHelpLanguageEnglish"))->trigger();
        QCOMPARE(ChosenLanguage(), std::optional(Language::English));
        QCOMPARE(CurrentLanguage(), Language::German);
        QCOMPARE(window_->statusLabel()->text(),
                 QStringLiteral("Die Sprache wechselt beim nächsten Start des Programms."));
        window_->action(QStringLiteral("mnuHelpLanguageGerman"))->trigger();
        QCOMPARE(ChosenLanguage(), std::optional(Language::German));
        QCOMPARE(window_->statusLabel()->text(), QString());
        UserSettings().remove(QStringLiteral("language"));
    }

    void screenshotsOfEveryPageInEnglish() {
        // As a technician's English desktop starts the program.
        for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            qunsetenv(variable);
        qputenv("LANG", "en_GB.UTF-8");
        QVERIFY(InstallLanguage(ProgramLanguage()));
        QCOMPARE(CurrentLanguage(), Language::English);
        // The window reads its texts as it is built.
        window_.reset();
        editor_.reset();
        init();
        showEveryPage(QStringLiteral(ZAL_SCREENSHOT_DIR "/en"));
        // Nothing German is left on a page, its menus or its drop-downs.
        static const QRegularExpression german(QStringLiteral(
            "[äöüÄÖÜß]|\\b(und|nicht|der|die|das|mit|für|Sende|Relais|Funk\\w*|Eingang|Eing|Aus|Ja|"
            "Nein|Sek|Standort\\w*|Schwellwert|Datei|Gerät|Neu|Speichern|Hilfe|Sprache)\\b"));
        QStringList found;
        for (int product : kProducts) {
            editor_->SelectProduct(product);
            QCoreApplication::processEvents();
            for (const QString& text : ShownTexts(window_.get())) {
                if (text.contains(german))
                    found << QStringLiteral("%1: %2").arg(product).arg(text);
            }
        }
        // The program's own dialogs.
        editor_->SelectProduct(kZal);
        rig_->engine.memory() = editor_->working();
        QVERIFY(editor_->changeFixed().Prepare());
        ChangeFixedDialog fixed(editor_->changeFixed());
        BackupsDialog backups(*editor_);
        SelectDirectoryDialog folder(home_.path());
        WritePreviewDialog preview({}, IdentifyDevice(editor_->working()));
        AboutDialog about(rig_->factory(), rig_->clock);
        DevicesDialog devices(*editor_);
        for (QWidget* dialog :
             std::initializer_list<QWidget*>{&fixed, &backups, &folder, &preview, &about, &devices}) {
            for (const QString& text : ShownTexts(dialog)) {
                if (text.contains(german))
                    found << QStringLiteral("%1: %2").arg(QLatin1String(dialog->metaObject()->className()),
                                                          text);
            }
        }
        found.removeDuplicates();
        // Alt reaches every item of the added menus and dialogs, each letter once in its menu or dialog.
        const QStringList mnemonics = MnemonicProblems(*window_, {&backups, &preview, &devices});
        InstallLanguage(Language::German);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
        QVERIFY2(mnemonics.isEmpty(), qPrintable(mnemonics.join(u'\n')));
    }

    void everyAddedItemHasItsOwnLetter() {
        editor_->SelectProduct(kZal);
        BackupsDialog backups(*editor_);
        WritePreviewDialog preview({}, IdentifyDevice(editor_->working()));
        DevicesDialog devices(*editor_);
        const QStringList problems = MnemonicProblems(*window_, {&backups, &preview, &devices});
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // A message box of a device command comes up with the arrow, and the hourglass comes back after it.
    // Enter answers a question whose Yes changes a device beyond what was typed with No.
    void enterAnswersNoWhereYesWouldChangeTheDevice() {
        QtDialogs dialogs;
        for (const auto& [buttons, answer] : {std::pair(QuestionButtons::YesNoDefaultNo, Answer::No),
                                              std::pair(QuestionButtons::YesNo, Answer::Yes)}) {
            QTimer::singleShot(50, this, [] {
                if (QWidget* box = QApplication::activeModalWidget())
                    QTest::keyClick(box, Qt::Key_Return);
            });
            QCOMPARE(dialogs.question(MessageKind::Information, 10668, QStringLiteral("?"), buttons), answer);
        }
    }

    void messagesShowTheArrowNotTheHourglass() {
        QtDialogs dialogs;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        bool hourglassWhileShown = true;
        QTimer::singleShot(50, this, [&] {
            hourglassWhileShown = QApplication::overrideCursor() != nullptr;
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        dialogs.message(MessageKind::Information, 10620, QStringLiteral("Lesen vollständig"));
        QVERIFY(!hourglassWhileShown);
        QVERIFY(QApplication::overrideCursor());
        QApplication::restoreOverrideCursor();
    }

    // The pictures are drawn for the screen's scale, so they stay sharp on a high-density screen.
    void artworkIsDrawnAtTheScreensScale() {
        for (const char* name : {"product", "about", "transmitter", "icon"}) {
            const QPixmap sharp = Artwork(QLatin1String(name), QSize(100, 80), 2.0);
            QCOMPARE(sharp.size(), QSize(200, 160));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
            QVERIFY2(sharp.toImage().pixelColor(100, 80).alpha() > 0, name); // something was drawn
        }
    }

    void qtSpeaksGermanAndAsksOnlyOnceBeforeOverwriting() {
        QVERIFY(QtDialogs::InstallGermanQtTexts());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
        QFileDialog dialog;
        FileDialogRequest request;
        request.filter = QStringLiteral("BORA (*.bora)|*.bora|MUVE+ II (*muveplus2)|*.muveplus2");
        request.filterIndex = 2;
        QtDialogs::Prepare(dialog, request, true);
        QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite)); // the program's 10611 asks
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{QStringLiteral("BORA (*.Bora)"), QStringLiteral("MUVE+ II (*.Muveplus2)")}));
    }
};

QTEST_MAIN(GuiTest)
#include "GuiTest.moc"
