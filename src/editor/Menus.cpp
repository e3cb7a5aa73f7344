#include "Menus.h"

namespace zal {

std::vector<MenuItem> EditorMenu() {
    return {
        {"mnuFile", 10101, "", "", false},
        {"mnuFileNew", 10102, "Ctrl+N", "mnuFile", false},
        {"mnuFileNewVersion", 10103, "", "mnuFile", false},
        {"mnuFileNewVersionV1x", 10104, "", "mnuFileNewVersion", false},
        {"mnuFileNewVersionV20xx", 10105, "", "mnuFileNewVersion", false},
        {"mnuFileNewVersionV21xx", 10106, "", "mnuFileNewVersion", false},
        {"mnuFileNewVersionV22xx", 10107, "", "mnuFileNewVersion", false},
        {"mnuFileOpen", 10108, "Ctrl+O", "mnuFile", false},
        {"mnuFileSave", 10109, "Ctrl+S", "mnuFile", false},
        {"mnuFileSaveAs", 10110, "", "mnuFile", false},
        {"mnuFileSelectDefaultFolder", 10111, "", "mnuFile", true},
        {"mnuFileExit", 10112, "", "mnuFile", true},
        {"mnuCommunication", 10113, "", "", false},
        {"mnuCommunicationReadFromDevice", 10114, "Ctrl+R", "mnuCommunication", false},
        {"mnuCommunicationWriteToDevice", 10115, "Ctrl+W", "mnuCommunication", false},
        {"mnuWriteDefaultBora", 10116, "", "mnuCommunication", true},
        {"mnuWriteDefaultZal", 10117, "", "mnuCommunication", false},
        {"mnuWriteDefaultMuve", 10118, "", "mnuCommunication", false},
        {"mnuWriteDefaultDorf", 10119, "", "mnuCommunication", false},
        {"mnuWriteVersionByte", 10120, "", "mnuCommunication", true},
        {"mnuChangeFixedRadioCodes", 10121, "", "mnuCommunication", true},
        {"mnuHelp", 10130, "", "", false},
        {"mnuHelpAbout", 10131, "", "mnuHelp", false},
    };
}

} // namespace zal
