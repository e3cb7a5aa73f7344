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
