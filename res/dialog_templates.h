// The add-in's dialog templates as data: the module's dialog resources on the simulated desktop,
// which builds its dialogs from them. The build writes them from the Windows resource script
// (make_dialog_templates.py), so the two never differ.
#pragma once
#include "platform/dialog_template.h"
#include "res/resource_ids.h"

namespace res {

using platform::DialogControl;
using platform::DialogTemplate;
using platform::FindDialogTemplate;

constexpr int kAboutBoxTemplate = QOR_DIALOG_ABOUT_BOX;
constexpr int kScanProgressTemplate = QOR_DIALOG_SCAN_PROGRESS;
constexpr int kSubjectSearchTemplate = QOR_DIALOG_SUBJECT_SEARCH;
constexpr int kIdSelectTemplate = QOR_DIALOG_ID_SELECT;
constexpr int kProgressBarControl = QOR_CONTROL_PROGRESS_BAR;
constexpr int kComboBoxControl = QOR_CONTROL_SUBJECT_COMBO;
constexpr int kListBoxControl = QOR_CONTROL_ID_LIST;

}  // namespace res
