#include "ValueList.h"

#include "shell/Language.h"
#include "shell/SettingsFile.h"

#include <algorithm>

namespace zal {

bool LoadSectionList(const SettingsFile& file, const QString& section, ValueList& list, int capacity) {
    list.clear();
    if (!file.hasSection(section))
        return false;
    for (int key = 0; key <= kLastSectionKey && list.items.size() < capacity; ++key) {
        const std::optional<QString> text = file.value(section, QString::number(key));
        if (!text || *text == QLatin1String("<EMPTY>"))
            continue;
        if (*text == QLatin1String("<END>"))
            break;
        list.items.append(ValueListText(*text));
        list.values.push_back(key);
    }
    return true;
}

void SetSingleItem(ValueList& list, const QString& text, int value) {
    list.clear();
    list.items.append(text);
    list.values.push_back(value);
}

void SetEmptyItem(ValueList& list) {
    list.clear();
    list.items.append(QString());
}

int AppendItem(ValueList& list, const QString& text, int value) {
    if (IndexOfValue(list.values, value) >= 0)
        return -1;
    // Keep the values aligned with the items even after an item without a stored value.
    list.values.resize(static_cast<size_t>(list.items.size()), -1);
    list.items.append(text);
    list.values.push_back(value);
    return static_cast<int>(list.items.size() - 1);
}

int IndexOfValue(const std::vector<int>& values, int value) {
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

int ValueAtIndex(const std::vector<int>& values, int index) {
    if (index < 0 || index >= static_cast<int>(values.size()))
        return -1;
    return values[static_cast<size_t>(index)];
}

} // namespace zal
