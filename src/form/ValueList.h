#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zal {

class SettingsFile;

// The items a drop-down shows and, beside them, the number each item stands for in the image. The
// stored values run parallel to the items; an item may have no stored value (the empty item), so the
// value array can be shorter than the item list. 999 is never a stored value.
struct ValueList {
    QStringList items;
    std::vector<int> values;

    void clear() {
        items.clear();
        values.clear();
    }
};

// Section keys are read from "0" up to "256" at the most.
constexpr int kLastSectionKey = 256;

// Builds the list from a settings-file section: the key number is the stored value, its text the item;
// missing keys and "<EMPTY>" add nothing, "<END>" ends the list, and reading stops at the capacity.
// Returns true when the section exists (the drop-down then selects its first item).
bool LoadSectionList(const SettingsFile& file, const QString& section, ValueList& list, int capacity);

// The list becomes exactly one item.
void SetSingleItem(ValueList& list, const QString& text, int value);

// The list becomes one item with empty text and no stored value, so that no image byte can select it.
void SetEmptyItem(ValueList& list);

// Appends the item unless its stored value is already present; returns the new index or -1.
int AppendItem(ValueList& list, const QString& text, int value);

// Index of the first item with this stored value, or -1.
int IndexOfValue(const std::vector<int>& values, int value);

// Stored value at the index; -1 for no selection (written into the image as 0xFF) or an item without
// a stored value.
int ValueAtIndex(const std::vector<int>& values, int index);

} // namespace zal
