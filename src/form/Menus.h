#pragma once

#include <QString>

#include <vector>

namespace zal {

// Every entry of the editor's main menu.
enum class MenuId {
    None, // no menu: the parent of a top-level menu
    File,
    FileNew,
    FileNewVersion,
    FileNewVersionV1x,
    FileNewVersionV20xx,
    FileNewVersionV21xx,
    FileNewVersionV22xx,
    FileOpen,
    FileSave,
    FileSaveAs,
    FileSelectDefaultFolder,
    FileExit,
    Communication,
    CommunicationReadFromDevice,
    CommunicationWriteToDevice,
    WriteDefault, // an item per product with a default write, which the item names
    WriteVersionByte,
    ChangeFixedRadioCodes,
    Help,
    HelpAbout,
};

struct MenuItem {
    MenuId id;
    const char* name; // the item's name, as scripts and the JSON output know it
    int textId;
    const char* shortcut; // empty when none
    MenuId parent;        // the menu it belongs to; None for a top-level menu
    bool separatorBefore;
    bool visible = true;
    bool enabled = true;
    int product = 0;            // a default write: the product whose default image it writes
    const char* text = nullptr; // a product's own item: its text from the product row, not textId
};

// The editor's main menu, in display order.
std::vector<MenuItem> EditorMenu();
// An item's text in the user's language.
QString MenuText(const MenuItem& item);

} // namespace zal
