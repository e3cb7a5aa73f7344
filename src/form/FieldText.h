#pragma once

#include "FormModel.h"

#include <QString>

#include <vector>

namespace zal {

// The caption of a field as a technician reads it: row, then column ("Position 3 / Relais").
QString FieldCaption(const Field& field);

// The value a field shows: its text, the selected item's text, or the check box state.
QString ShownValue(const Field& field);

// The page and group captions a field stands under.
QString PageCaption(const Field& field);
QString GroupCaption(const Field& field);

// The fields the window shows, page by page and group by group, each group's rows and columns in
// reading order.
std::vector<const Field*> ShownFields(const FormModel& form);

// A field whose shown value differs between two editors.
struct FieldDifference {
    const Field* a;
    const Field* b;
};

// Every field the first editor shows whose shown value the second does not share, in the order of
// ShownFields.
std::vector<FieldDifference> DiffForms(const FormModel& a, const FormModel& b);

// Every shown field whose shown value one undo step changed, in the order of ShownFields: a is the
// field before the step, b after it, both inside the step (valid while the history keeps it).
std::vector<FieldDifference> StepChanges(const FormModel& form, const FormModel::Step& step);

} // namespace zal
