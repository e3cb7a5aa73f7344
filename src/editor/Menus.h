#pragma once

#include <QString>

#include <vector>

namespace zal {

struct MenuItem {
    const char* name;
    int textId;
    const char* shortcut; // empty when none
    const char* parent;   // the menu it belongs to; empty for a top-level menu
    bool separatorBefore;
    bool visible = true;
    bool enabled = true;
};

// The editor's main menu, in display order.
std::vector<MenuItem> EditorMenu();

} // namespace zal
