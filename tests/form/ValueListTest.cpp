#include "form/ValueList.h"
#include "shell/SettingsFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

ValueList Load(const QByteArray& ini, int capacity, bool* exists = nullptr) {
    ValueList list;
    list.items = {QStringLiteral("stale")};
    list.values = {7};
    const bool found = LoadSectionList(SettingsFile::FromBytes(ini), QStringLiteral("List"), list, capacity);
    if (exists)
        *exists = found;
    return list;
}

TEST(LoadSectionList, KeysBecomeStoredValues) {
    const struct {
        const char* name;
        QByteArray ini;
        int capacity;
        QStringList items;
        std::vector<int> values;
    } cases[] = {
        {"EndAfterThree", "[List]\n0=a\n1=b\n2=c\n3=<END>\n4=d\n", 20, {"a", "b", "c"}, {0, 1, 2}},
        {"Gaps", "[List]\n0=a\n5=f\n", 20, {"a", "f"}, {0, 5}},
        {"EmptyMarkerIsAGap", "[List]\n0=a\n1=<EMPTY>\n2=c\n", 20, {"a", "c"}, {0, 2}},
        {"CapacityCuts", "[List]\n0=a\n1=b\n2=c\n", 2, {"a", "b"}, {0, 1}},
        {"Key256IsTheLast", "[List]\n255=x\n256=y\n257=z\n", 20, {"x", "y"}, {255, 256}},
        {"LeadingZerosAreOtherKeys", "[List]\n00=a\n1=b\n", 20, {"b"}, {1}},
        {"EmptyTextIsAnItem", "[List]\n0=\n1=b\n", 20, {"", "b"}, {0, 1}},
        {"EndOnlyGivesNothing", "[List]\n0=<END>\n1=a\n", 20, {}, {}},
        {"TrimmedMarkers", "[List]\n0= <END> \n", 20, {}, {}},
        {"CaseOfSectionName", "[LIST]\n0=a\n", 20, {"a"}, {0}},
    };
    for (const auto& c : cases) {
        const ValueList list = Load(c.ini, c.capacity);
        EXPECT_EQ(list.items, c.items) << c.name;
        EXPECT_EQ(list.values, c.values) << c.name;
    }
}

TEST(LoadSectionList, MissingSectionGivesAnEmptyList) {
    bool exists = true;
    const ValueList list = Load("[Other]\n0=a\n", 20, &exists);
    EXPECT_FALSE(exists);
    EXPECT_TRUE(list.items.isEmpty());
    EXPECT_TRUE(list.values.empty());
}

TEST(LoadSectionList, HugeSectionIsCapped) {
    QByteArray ini = "[List]\n";
    for (int key = 0; key < 5000; ++key)
        ini += QByteArray::number(key) + "=item " + QByteArray::number(key) + "\n";
    EXPECT_EQ(Load(ini, 100).items.size(), 100);
    EXPECT_EQ(Load(ini, 1000).items.size(), 257); // keys 0-256
}

TEST(LoadSectionList, Windows1252Texts) {
    const ValueList list = Load("[List]\n0=\xD6"
                                "ffner\n1=Schlie\xDF"
                                "er\n",
                                10);
    EXPECT_EQ(list.items, (QStringList{QStringLiteral("Öffner"), QStringLiteral("Schließer")}));
}

TEST(ValueListBuilders, SingleEmptyAndAppend) {
    ValueList list;
    SetSingleItem(list, QStringLiteral("Aus"), 0);
    EXPECT_EQ(list.items, QStringList{QStringLiteral("Aus")});
    EXPECT_EQ(list.values, std::vector<int>{0});

    SetEmptyItem(list);
    EXPECT_EQ(list.items, QStringList{QString()});
    EXPECT_EQ(IndexOfValue(list.values, 0), -1);
    EXPECT_EQ(ValueAtIndex(list.values, 0), -1);

    list = Load("[List]\n0=a\n255=own\n", 100);
    EXPECT_EQ(AppendItem(list, QStringLiteral("Transparent"), 255), -1);
    EXPECT_EQ(list.items.size(), 2);
    EXPECT_EQ(AppendItem(list, QStringLiteral("Drei"), 3), 2);
    EXPECT_EQ(list.values, (std::vector<int>{0, 255, 3}));
}

TEST(ValueLookups, IndexAndValue) {
    const std::vector<int> values{0, 1, 5, 1};
    EXPECT_EQ(IndexOfValue(values, 1), 1);
    EXPECT_EQ(IndexOfValue(values, 5), 2);
    EXPECT_EQ(IndexOfValue(values, 3), -1);
    EXPECT_EQ(ValueAtIndex(values, 2), 5);
    EXPECT_EQ(ValueAtIndex(values, -1), -1);
    EXPECT_EQ(ValueAtIndex(values, 4), -1);
}

} // namespace
