#pragma once

#include <QString>

namespace zal {

class Settings;

class FormModel;

// The drop-downs' lists for a product and version, from Values.ini and the string table.
void BuildValueLists(FormModel& form, int product, int version, const Settings& settings);

// Enabled state, presence mark and maximum length of every field for a product and version.
void ApplyEnablingRules(FormModel& form, int product, int version);

} // namespace zal
