// The add-in's dialog templates as data: the module's dialog resources on the simulated desktop,
// which builds its dialogs from them. The build writes them from the Windows resource script
// (make_dialog_templates.py), so the two never differ.
#pragma once
#include "platform/dialog_template.h"

namespace res {

using platform::DialogControl;
using platform::DialogTemplate;
using platform::FindDialogTemplate;

constexpr int kAboutBoxTemplate = 129;
constexpr int kScanProgressTemplate = 131;
constexpr int kSubjectSearchTemplate = 132;
constexpr int kIdSelectTemplate = 137;
constexpr int kProgressBarControl = 1001;
constexpr int kComboBoxControl = 1001;
constexpr int kListBoxControl = 1001;

}  // namespace res
