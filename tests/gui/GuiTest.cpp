// The windows over the editor core, offscreen: they mirror the core and hand user input to it.

#include "config/Products.h"
#include "gui/ChangeFixedDialogs.h"
#include "gui/EnterDataWindow.h"
#include "gui/MainWindow.h"
#include "gui/ReceiveRadioDialog.h"
#include "support/SimRig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace zal;
using namespace zal::gui;

namespace {

class RecordingDialogs : public Dialogs {
public:
    void message(MessageKind, int id, const QString&) override { ids.push_back(id); }
    Answer question(MessageKind, int id, const QString&, QuestionButtons) override {
        ids.push_back(id);
        return Answer::No;
    }
    std::optional<FileDialogResult> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::vector<int> ids;
};

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

private slots:
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
        window_ = std::make_unique<EnterDataWindow>(*editor_);
        dialogs_.ids.clear();
    }
    void cleanup() {
        window_.reset();
        editor_.reset();
    }

    void mirrorsTheCore() {
        editor_->SelectProduct(kZal);
        QCOMPARE(window_->tabs()->count(), 4);
        QCOMPARE(window_->windowTitle(), QStringLiteral("(Default) - ZAL family programmer"));
        QCOMPARE(widget<QLineEdit>("edtNoShortTransm")->text(), editor_->form["edtNoShortTransm"].text);
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
        QCOMPARE(editor_->form["edtRxCodePos1"].text, QStringLiteral("12"));
        QLineEdit* shortTransm = widget<QLineEdit>("edtNoShortTransm");
        shortTransm->clear();
        editor_->form.replaceText(editor_->form["edtNoShortTransm"], QString());
        QTest::keyClicks(shortTransm, QStringLiteral("300"));
        QCOMPARE(editor_->form["edtNoShortTransm"].text, QStringLiteral("255"));
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
        const int own = IndexOfValue(editor_->form["cbbxActionTxPos4"].list.values, 3);
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
        rig_->engine.memory() = editor_->working;
        window_->action(QStringLiteral("mnuCommunicationReadFromDevice"))->trigger();
        QCOMPARE(window_->statusLabel()->text(), QStringLiteral("Lesen vollständig"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("(aus Gerät ausgelesen) - ZAL family programmer"));
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
        QCOMPARE(editor_->form["edtRxCodePos2"].text, QStringLiteral("7A7A"));
        QCOMPARE(widget<QLineEdit>("edtRxCodePos2")->text(), QStringLiteral("7A7A"));
    }

    void changeFixedWindowDerivesTheCodes() {
        rig_->engine.memory() = editor_->working;
        QVERIFY(editor_->changeFixed().Prepare());
        ChangeFixedDialog dialog(editor_->changeFixed());
        dialog.show();
        QTest::keyClicks(dialog.newField(0), QStringLiteral("fffe"));
        QCOMPARE(dialog.newField(0)->text(), QStringLiteral("FFFE"));
        QCOMPARE(dialog.newField(1)->text(), QStringLiteral("0001"));
        QCOMPARE(dialog.newField(5)->text(), QStringLiteral("0005"));
        shoot(&dialog, "change-fixed");
    }

    void productButtonOpensTheEditorAndClosingResetsIt() {
        MainWindow main(*editor_, *window_);
        main.show();
        shoot(&main, "selection");
        int productWhileOpen = 0;
        QTimer closer; // closes the editor once it is shown, as the close box would
        connect(&closer, &QTimer::timeout, this, [this, &productWhileOpen] {
            if (window_->isVisible()) {
                productWhileOpen = editor_->product();
                window_->reject();
            }
        });
        closer.start(20);
        main.productButton(kMuve)->click();
        closer.stop();
        QCOMPARE(productWhileOpen, kMuve);
        QCOMPARE(editor_->product(), kBora);
        QCOMPARE(editor_->fileState(), fsNew);
        QVERIFY(main.isVisible());
    }
};

QTEST_MAIN(GuiTest)
#include "GuiTest.moc"
