#include "res/dialog_templates.h"

#include "res/texts.h"

namespace res {
namespace {

// Window and control styles, as the resource compiler writes them.
constexpr uint32_t kPopup = 0x80000000, kChild = 0x40000000, kVisible = 0x10000000;
constexpr uint32_t kCaption = 0x00C00000, kBorder = 0x00800000, kSysMenu = 0x00080000;
constexpr uint32_t kVScroll = 0x00200000, kGroup = 0x00020000, kTabStop = 0x00010000;
constexpr uint32_t kModalFrame = 0x80, kSetFont = 0x40;
constexpr uint32_t kControl = kChild | kVisible;
constexpr uint32_t kPushButton = 0x0, kDefPushButton = 0x1, kGroupBox = 0x7;
constexpr uint32_t kStaticLeft = 0x0, kStaticCenter = 0x1, kStaticIcon = 0x3, kStaticSunken = 0x1000;
constexpr uint32_t kComboDropDown = 0x2;
constexpr uint32_t kListNotify = 0x1, kListMultipleSel = 0x8, kListNoIntegralHeight = 0x100;

const std::vector<DialogTemplate>& Templates() {
  static const std::vector<DialogTemplate> templates = {
      {kAboutBoxTemplate, kAboutCaption, 187, 117, kFontPGothic, 11,
       kPopup | kCaption | kSysMenu | kModalFrame | kSetFont,
       {
           {1, "BUTTON", kOk, 155, 7, 25, 14, kControl | kDefPushButton | kTabStop},
           {-1, "STATIC", kAboutTitle, 34, 9, 104, 8, kControl | kStaticCenter},
           {-1, "STATIC", kAboutVersion, 38, 22, 101, 8, kControl | kStaticCenter},
           {-1, "STATIC", kAboutCredit1, 21, 38, 129, 10, kControl | kStaticCenter | kStaticSunken},
           {-1, "BUTTON", "", 31, 0, 111, 34, kControl | kGroupBox},
           {-1, "STATIC", kAboutCredit2, 23, 52, 125, 8, kControl | kStaticCenter},
           {-1, "STATIC", kAboutCredit3, 23, 64, 125, 8, kControl | kStaticCenter},
           {-1, "STATIC", kAboutCredit4, 6, 77, 173, 8, kControl | kStaticCenter},
           {-1, "STATIC", "#130", 8, 6, 18, 20, kControl | kStaticIcon},
           {-1, "BUTTON", "", 8, 87, 165, 29, kControl | kGroupBox},
           {-1, "STATIC", kSpecialThanks, 11, 94, 54, 8, kControl | kStaticLeft},
           {-1, "STATIC", kAboutThanks1, 66, 94, 102, 8, kControl | kStaticLeft},
           {-1, "STATIC", kAboutThanks2, 66, 104, 102, 8, kControl | kStaticLeft},
       }},
      {kScanProgressTemplate, kProgressCaption, 187, 17, kFontPGothic, 9,
       kCaption | kModalFrame | kSetFont,
       {
           {kProgressBarControl, "msctls_progress32", kProgressText, 8, 2, 172, 14, kControl | kBorder},
       }},
      {kSubjectSearchTemplate, kSearchCaption, 258, 41, kFontMincho, 10,
       kPopup | kVisible | kCaption | kSysMenu | kModalFrame | kSetFont,
       {
           {kComboBoxControl, "COMBOBOX", "", 48, 7, 138, 74,
            kControl | kComboDropDown | kVScroll | kTabStop},
           {1, "BUTTON", kSearchButton, 200, 3, 50, 14, kControl | kDefPushButton | kTabStop | kGroup},
           {2, "BUTTON", kCancelButton, 200, 21, 50, 14, kControl | kPushButton | kTabStop},
           {-1, "STATIC", kSearchLabel, 5, 9, 41, 8, kControl | kStaticLeft | kGroup},
       }},
      {kIdSelectTemplate, kIdSelectCaption, 187, 167, kFontPGothic, 9,
       kPopup | kCaption | kSysMenu | kModalFrame | kSetFont,
       {
           {kListBoxControl, "LISTBOX", "", 0, 2, 144, 143,
            kControl | kListNotify | kListMultipleSel | kListNoIntegralHeight | kVScroll | kBorder |
                kTabStop},
           {1, "BUTTON", kOk, 148, 7, 32, 14, kControl | kDefPushButton | kTabStop},
           {2, "BUTTON", kIdSelectCancel, 148, 24, 32, 14, kControl | kPushButton | kTabStop},
           {-1, "STATIC", kIdSelectHint, 0, 152, 146, 11, kControl | kStaticCenter | kStaticSunken},
       }},
  };
  return templates;
}

}  // namespace
}  // namespace res

const platform::DialogTemplate* platform::FindDialogTemplate(int id) {
  for (const DialogTemplate& t : res::Templates()) {
    if (t.id == id) return &t;
  }
  return nullptr;
}
