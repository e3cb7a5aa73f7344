#include "form/FormModel.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

struct Counts {
    int text = 0, click = 0, select = 0, exit = 0, notified = 0;
};

class Events : public ::testing::Test {
protected:
    void SetUp() override {
        form.onTextChange(QStringLiteral("edtDelay"), [this](Field&) { ++counts.text; });
        form.onClick(QStringLiteral("cbDelayUseJumpers"), [this](Field&) { ++counts.click; });
        form.onSelect(QStringLiteral("cbbxAcknowledge"), [this](Field&) { ++counts.select; });
        form.onExit(QStringLiteral("edtDelay"), [this](Field&) { ++counts.exit; });
        form.addObserver([this](const Field&, FieldChange) { ++counts.notified; });
        ValueList list;
        SetSingleItem(list, QStringLiteral("a"), 0);
        AppendItem(list, QStringLiteral("b"), 1);
        form.setItems(form["cbbxAcknowledge"], list);
        counts = {};
    }
    FormModel form;
    Counts counts;
};

TEST_F(Events, AnEntryFieldsHandlerRunsOnEveryChangeAlsoByTheProgram) {
    form.setText(form["edtDelay"], QStringLiteral("1"));
    form.setText(form["edtDelay"], QStringLiteral("1")); // no change, no event
    form.typeKey(form["edtDelay"], QChar(u'2'));
    form.replaceText(form["edtDelay"], QStringLiteral("7"));
    EXPECT_EQ(counts.text, 3);
    EXPECT_EQ(form["edtDelay"].text, QStringLiteral("7"));
    form.leave(form["edtDelay"]);
    EXPECT_EQ(counts.exit, 1);
}

TEST_F(Events, ACheckBoxsHandlerRunsWheneverItsStateChanges) {
    form.setChecked(form["cbDelayUseJumpers"], true);
    form.setChecked(form["cbDelayUseJumpers"], true);
    form.click(form["cbDelayUseJumpers"]);
    EXPECT_EQ(counts.click, 2);
    EXPECT_FALSE(form["cbDelayUseJumpers"].checked);
}

TEST_F(Events, ADropDownsHandlerRunsOnlyForTheUser) {
    form.setIndex(form["cbbxAcknowledge"], 1);
    ValueList list;
    SetSingleItem(list, QStringLiteral("x"), 5);
    form.setItems(form["cbbxAcknowledge"], list);
    EXPECT_EQ(counts.select, 0);
    EXPECT_EQ(form["cbbxAcknowledge"].index, -1); // a rebuilt list has no selection
    form.selectIndex(form["cbbxAcknowledge"], 0);
    EXPECT_EQ(counts.select, 1);
    EXPECT_EQ(form["cbbxAcknowledge"].value(), 5);
    form.setIndex(form["cbbxAcknowledge"], 7); // out of range: no selection
    EXPECT_EQ(form["cbbxAcknowledge"].index, -1);
    EXPECT_EQ(form["cbbxAcknowledge"].value(), -1);
}

TEST_F(Events, TypingHonoursTheFilterAndTheMaximumLength) {
    form.setKeyFilter(QStringLiteral("edtDelay"), [](Field&, QChar& key) {
        key = key.toUpper();
        return key != QChar(u'X');
    });
    form.setMaxLength(form["edtDelay"], 3);
    for (QChar key : QStringLiteral("abxcd"))
        form.typeKey(form["edtDelay"], key);
    EXPECT_EQ(form["edtDelay"].text, QStringLiteral("ABC"));
    EXPECT_FALSE(form.typeKey(form["edtDelay"], QChar(u'x')));
    form.typeKey(form["edtDelay"], QChar(8));
    EXPECT_EQ(form["edtDelay"].text, QStringLiteral("AB"));
}

TEST_F(Events, EveryChangeIsReportedToObservers) {
    Field& f = form["edtDelay"];
    form.setEnabled(f, false);
    form.setMark(f, 2);
    form.setVisible(f, false);
    form.setMaxLength(f, 6);
    form.setText(f, QStringLiteral("x"));
    form.setMark(f, 2); // unchanged: not reported
    EXPECT_EQ(counts.notified, 5);
}

// One technician action is one undo step: typing into a field grows its step up to and with leaving
// it, nested actions are one, the program's own changes are none, and the base marks the file's state.
TEST_F(Events, EachActionIsOneUndoStep) {
    Field& delay = form["edtDelay"];
    form.onExit(QStringLiteral("edtDelay"), [this](Field& f) { form.setText(f, f.text + u'0'); });
    form.setText(delay, QStringLiteral("5")); // the program's own change
    EXPECT_FALSE(form.canUndo());
    EXPECT_TRUE(form.isAtBase());
    form.typeKey(delay, QChar(u'1'));
    form.typeKey(delay, QChar(u'2'));
    form.leave(delay); // its check appends a zero: still the typing's step
    EXPECT_EQ(delay.text, QStringLiteral("5120"));
    form.typeKey(delay, QChar(u'3')); // typing after leaving is a step of its own
    form.click(form["cbDelayUseJumpers"]);
    {
        const FormModel::UserAction command(form);
        form.selectIndex(form["cbbxAcknowledge"], 1);
        form.replaceText(delay, QStringLiteral("9"));
        EXPECT_FALSE(form.canUndo()); // not while an action is open
    }
    EXPECT_EQ(form.undoCount(), 4u);
    EXPECT_FALSE(form.isAtBase());
    ASSERT_NE(form.lastStep(), nullptr);
    EXPECT_EQ(form.lastStep()->typing, QString());
    for (const QString& before :
         {QStringLiteral("51203"), QStringLiteral("51203"), QStringLiteral("5120"), QStringLiteral("5")}) {
        ASSERT_TRUE(form.undo());
        EXPECT_EQ(delay.text, before);
    }
    EXPECT_TRUE(form.isAtBase());
    EXPECT_FALSE(form["cbDelayUseJumpers"].checked);
    EXPECT_TRUE(form.redo());
    EXPECT_EQ(delay.text, QStringLiteral("5120"));
    form.undo();
    form.click(form["cbDelayUseJumpers"]); // a new step after undoing: redo is gone, the base still there
    EXPECT_FALSE(form.canRedo());
    form.undo();
    EXPECT_TRUE(form.isAtBase());
}

TEST_F(Events, TheHistoryRestartsAndIsBounded) {
    for (size_t i = 0; i < FormModel::kUndoLimit + 5; ++i)
        form.click(form["cbDelayUseJumpers"]);
    EXPECT_EQ(form.undoCount(), FormModel::kUndoLimit);
    while (form.undo()) {
    }
    EXPECT_FALSE(form.isAtBase()); // the base fell off the bounded history
    {
        const FormModel::UserAction save(form);
        form.replaceText(form["edtDelay"], QStringLiteral("4"));
        form.startHistory(); // saved inside the action: the new base includes its change
    }
    EXPECT_FALSE(form.canUndo());
    EXPECT_TRUE(form.isAtBase());
    int heard = 0;
    form.onHistoryChanged([&heard] { ++heard; });
    form.click(form["cbDelayUseJumpers"]);
    EXPECT_EQ(heard, 1);
}

TEST(FormDeclaration, EveryFieldOnce) {
    FormModel form;
    EXPECT_EQ(form.fields().size(), FormFields().size());
    EXPECT_NE(form.find(QStringLiteral("edtActionTransmissionDelayPosA")), nullptr);
    EXPECT_EQ(form.find(QStringLiteral("edtActionTransmissionDelayPosF")), nullptr);
    EXPECT_FALSE(form["cbbxFrequencyRegion"].visible);
    EXPECT_THROW(form[("noSuchField")], std::logic_error);
    int buttons = 0;
    for (const Field& f : form.fields())
        buttons += f.kind() == FieldKind::Button;
    EXPECT_EQ(buttons, 8);
}

} // namespace
