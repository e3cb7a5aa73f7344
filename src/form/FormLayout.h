#pragma once

#include <vector>

namespace zal {

// The editor's pages, groups and fields, declared once: the core's form model and the Qt view are both
// built from this declaration.

enum class FieldKind { Edit, Combo, Check, Button };

// Fields of a group stand in a grid: a row per position or parameter, a column per kind of value.
struct GroupDecl {
    const char* name;
    int page;
    int captionId;
    std::vector<int> columnCaptionIds; // column headers of a grid group; empty for a form group
    int pageColumn = 0;                // where the window puts the group: groups of one column stack
    bool informationOnly = false;      // its entry fields show what the device tells; nothing is typed
};

struct PageDecl {
    const char* name;
    int captionId;
};

struct FieldDecl {
    const char* name;
    FieldKind kind;
    const char* group;
    int row;
    int column;
    int rowCaptionId;    // caption of the row (the position, input or parameter)
    int columnCaptionId; // caption of the column in a grid group, 0 in a form group
    int unitCaptionId;   // unit text after the field, 0 when none
    bool hidden;         // kept by the editor, never shown
};

const std::vector<PageDecl>& FormPages();
const std::vector<GroupDecl>& FormGroups();
const std::vector<FieldDecl>& FormFields();
// The page a group stands on.
int FormGroupPage(const char* groupName);
// Whether a field only shows information (read-only, but selectable for copying).
bool IsInformationOnly(const FieldDecl& field);
// Whether the field belongs to the product information, which tells what a device is: none of its
// fields is ever changed where the window would not let it be.
bool InInformationGroup(const FieldDecl& field);

} // namespace zal
