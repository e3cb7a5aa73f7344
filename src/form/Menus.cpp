#include "Menus.h"

#include "config/Products.h"
#include "shell/StringTable.h"

#include <algorithm>

namespace zal {

std::vector<MenuItem> EditorMenu() {
    std::vector<MenuItem> menu{
        {MenuId::File, "mnuFile", 10101, "", MenuId::None, false},
        {MenuId::FileNew, "mnuFileNew", 10102, "Ctrl+N", MenuId::File, false},
        {MenuId::FileNewVersion, "mnuFileNewVersion", 10103, "", MenuId::File, false},
        {MenuId::FileNewVersionV1x, "mnuFileNewVersionV1x", 10104, "", MenuId::FileNewVersion, false},
        {MenuId::FileNewVersionV20xx, "mnuFileNewVersionV20xx", 10105, "", MenuId::FileNewVersion, false},
        {MenuId::FileNewVersionV21xx, "mnuFileNewVersionV21xx", 10106, "", MenuId::FileNewVersion, false},
        {MenuId::FileNewVersionV22xx, "mnuFileNewVersionV22xx", 10107, "", MenuId::FileNewVersion, false},
        {MenuId::FileOpen, "mnuFileOpen", 10108, "Ctrl+O", MenuId::File, false},
        {MenuId::FileSave, "mnuFileSave", 10109, "Ctrl+S", MenuId::File, false},
        {MenuId::FileSaveAs, "mnuFileSaveAs", 10110, "", MenuId::File, false},
        {MenuId::FileSelectDefaultFolder, "mnuFileSelectDefaultFolder", 10111, "", MenuId::File, true},
        {MenuId::FileExit, "mnuFileExit", 10112, "", MenuId::File, true},
        {MenuId::Communication, "mnuCommunication", 10113, "", MenuId::None, false},
        {MenuId::CommunicationReadFromDevice, "mnuCommunicationReadFromDevice", 10114, "Ctrl+R",
         MenuId::Communication, false},
        {MenuId::CommunicationWriteToDevice, "mnuCommunicationWriteToDevice", 10115, "Ctrl+W",
         MenuId::Communication, false},
        {MenuId::WriteVersionByte, "mnuWriteVersionByte", 10120, "", MenuId::Communication, true},
        {MenuId::ChangeFixedRadioCodes, "mnuChangeFixedRadioCodes", 10121, "", MenuId::Communication, true},
        {MenuId::Help, "mnuHelp", 10130, "", MenuId::None, false},
        {MenuId::HelpAbout, "mnuHelpAbout", 10131, "", MenuId::Help, false},
    };
    // The default writes, one per product that has one, in the rows' order after "write to device".
    auto at =
        menu.begin() + 1 +
        (std::find_if(menu.begin(), menu.end(),
                      [](const MenuItem& item) { return item.id == MenuId::CommunicationWriteToDevice; }) -
         menu.begin());
    bool first = true;
    for (const ProductInfo& p : Products()) {
        if (!p.writeDefaultMenu)
            continue;
        MenuItem item{MenuId::WriteDefault, p.writeDefaultMenu, 0, "", MenuId::Communication, first};
        item.product = p.code;
        item.text = p.writeDefaultText;
        at = menu.insert(at, item) + 1;
        first = false;
    }
    return menu;
}

QString MenuText(const MenuItem& item) {
    return item.text ? ProductText(item.text) : Str(item.textId);
}

} // namespace zal
