// Message boxes, captioned with the module's base name by the caller and owned like the dialogs
// (platform/window.h, SetOwnerWindow).
#pragma once

namespace platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { Exclamation, Question };
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

Answer ShowMessageBox(const char* caption, const char* text, Buttons buttons, Icon icon);

}  // namespace platform
