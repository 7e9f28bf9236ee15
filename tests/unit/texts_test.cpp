// Every text of the add-in, pinned to its code page 932 bytes: a change of the source file, the
// generator or the codec that moves a byte shows here.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "res/texts.h"

namespace {

struct PinnedText {
  const char* name;
  const char* text;
  const char* bytes;  // hex, blank-separated
};

const PinnedText kPinned[] = {
    {"kPaneName", res::kPaneName, "83 81 81 5B 83 8B 20 83 5D 83 8B 83 4A"},
    {"kMenuReceivedInOrder", res::kMenuReceivedInOrder, "8E F3 90 4D 81 40 8E F3 90 4D 8F 87"},
    {"kMenuReceivedById", res::kMenuReceivedById, "8E F3 90 4D 81 40 49 44 96 88"},
    {"kMenuSentInOrder", res::kMenuSentInOrder, "91 97 90 4D 81 40 91 97 90 4D 8F 87"},
    {"kMenuSentById", res::kMenuSentById, "91 97 90 4D 81 40 49 44 96 88"},
    {"kMenuBothById", res::kMenuBothById, "91 97 8E F3 90 4D 20 49 44 96 88"},
    {"kMenuSubjectSearch", res::kMenuSubjectSearch, "91 E8 96 BC 82 CC 8C 9F 8D F5"},
    {"kMenuSearchNext", res::kMenuSearchNext, "89 BA 8C 9F 8D F5"},
    {"kMenuRegisterIds", res::kMenuRegisterIds, "83 81 81 5B 83 8B 82 A9 82 E7 49 44 82 F0 51 4F 52 82 D6 93 6F 98 5E"},
    {"kMenuExportCsv", res::kMenuExportCsv, "83 81 81 5B 83 8B 82 A9 82 E7 49 44 82 F0 43 53 56 8F 6F 97 CD"},
    {"kMenuAllStock", res::kMenuAllStock, "91 53 82 C4 82 CC 83 58 83 67 83 62 83 4E 8C 9F 8D F5"},
    {"kMenuAbout", res::kMenuAbout, "4B 6F 72 76 69 6B 20 D2 B0 D9 BF DE D9 B6 82 C9 82 C2 82 A2 82 C4"},
    {"kReadNew", res::kReadNew, "81 84 52 45 41 44 20 4E 45 57"},
    {"kPromptMark", res::kPromptMark, "81 84"},
    {"kMailFolder", res::kMailFolder, "93 64 8E 71 83 81 81 5B 83 8B 81 69"},
    {"kNotice", res::kNotice, "82 A8 92 6D 82 E7 82 B9"},
    {"kBodyText", res::kBodyText, "96 7B 95 B6"},
    {"kSendShort", res::kSendShort, "81 84 32"},
    {"kSendCommand", res::kSendCommand, "81 84 53 4D 41 49 4C"},
    {"kWideColon", res::kWideColon, "81 46"},
    {"kLabelJoiner", res::kLabelJoiner, "81 40 81 40"},
    {"kReceivedPrefix", res::kReceivedPrefix, "3E 3E 8E F3 90 4D 81 46 20"},
    {"kSentPrefix", res::kSentPrefix, "3C 3C 91 97 90 4D 81 46 20"},
    {"kNotFound", res::kNotFound, "8A 59 93 96 82 B7 82 E9 83 81 81 5B 83 8B 82 CD 8C A9 82 C2 82 A9 82 E8 82 DC 82 B9 82 F1 82 C5 82 B5 82 BD 81 42"},
    {"kAskRegister", res::kAskRegister, "51 4F 52 82 C9 93 6F 98 5E 82 B3 82 EA 82 C4 82 A2 82 C8 82 A2 49 44 82 CC 82 DD 92 C7 89 C1 82 B5 82 DC 82 B7 81 42"},
    {"kRegisterDone", res::kRegisterDone, "49 44 93 6F 98 5E 81 40 8F 49 97 B9 82 B5 82 DC 82 B5 82 BD 81 42"},
    {"kAskExport", res::kAskExport, "95 5C 8E A6 82 B3 82 EA 82 C4 82 A2 82 E9 49 44 82 C6 96 BC 91 4F 82 F0 43 56 53 8C 60 8E AE 82 C5 83 74 83 40 83 43 83 8B 82 C9 8F 91 82 AB 8F 6F 82 B5 82 DC 82 B7"},
    {"kExportedSuffix", res::kExportedSuffix, "8C 8F 20 49 44 82 F0 8F 91 82 AB 8F 6F 82 B5 82 DC 82 B5 82 BD 81 42 21 21"},
    {"kProgressCaption", res::kProgressCaption, "83 81 81 5B 83 8B 82 F0 92 54 82 B5 82 C4 82 A2 82 DC 82 B7 81 43 82 B5 82 CE 82 E7 82 AD 82 A8 91 D2 82 BF 89 BA 82 B3 82 A2 81 42"},
    {"kAboutCaption", res::kAboutCaption, "83 81 81 5B 83 8B 81 40 83 5D 83 8B 83 4A 82 C9 82 C2 82 A2 82 C4"},
    {"kAboutTitle", res::kAboutTitle, "4B 6F 72 76 69 6B 83 81 81 5B 83 8B 81 40 83 5D 83 8B 83 4A"},
    {"kSearchCaption", res::kSearchCaption, "83 81 81 5B 83 8B 91 E8 96 BC 82 A9 82 E7 82 CC 8C 9F 8D F5"},
    {"kSearchButton", res::kSearchButton, "8C 9F 8D F5"},
    {"kCancelButton", res::kCancelButton, "83 4C 83 83 83 93 83 5A 83 8B"},
    {"kSearchLabel", res::kSearchLabel, "8C 9F 8D F5 28 26 53 29"},
    {"kIdSelectCaption", res::kIdSelectCaption, "92 C7 89 C1 82 B7 82 E9 49 44 82 CC 91 49 91 F0"},
    {"kIdSelectCancel", res::kIdSelectCancel, "B7 AC DD BE D9"},
    {"kIdSelectHint", res::kIdSelectHint, "92 C7 89 C1 82 B5 82 BD 82 AD 82 C8 82 A2 96 BC 91 4F 82 F0 91 49 91 F0 89 F0 8F 9C 82 B5 82 C4 89 BA 82 B3 82 A2 81 42"},
    {"kFontPGothic", res::kFontPGothic, "82 6C 82 72 20 82 6F 83 53 83 56 83 62 83 4E"},
    {"kFontMincho", res::kFontMincho, "82 6C 82 72 20 96 BE 92 A9"},
    {"kSpecialThanks", res::kSpecialThanks, "53 70 61 63 69 61 6C 20 54 68 61 6E 6B 73 81 46"},
    {"kAboutVersion", res::kAboutVersion, "56 65 72 73 69 6F 6E 20 31 2E 30 31"},
    {"kAboutCredit1", res::kAboutCredit1, "83 8D 83 4F 82 CC 92 86 82 CC 83 81 81 5B 83 8B 82 F0 92 54 82 B7 8D F5 88 F8"},
    {"kAboutCredit2", res::kAboutCredit2, "8E F3 90 4D 81 45 91 97 90 4D 83 81 81 5B 83 8B 82 F0 8F 87 94 D4 82 C6 49 44 96 88 82 C9"},
    {"kAboutCredit3", res::kAboutCredit3, "51 4F 52 2E 49 4E 49 82 D6 82 CC 49 44 93 6F 98 5E 82 C6 43 53 56 8F 6F 97 CD"},
    {"kAboutCredit4", res::kAboutCredit4, "4D 61 69 6C 20 5A 6F 6C 6B 61 20 70 72 6F 6A 65 63 74 20 32 30 32 36 20 20 82 B2 88 D3 8C A9 82 CD 83 76 83 8D 83 57 83 46 83 4E 83 67 82 D6"},
    {"kAboutThanks1", res::kAboutThanks1, "4B 6F 72 76 69 6B 20 82 F0 82 A8 8E 67 82 A2 82 CC 8A 46 97 6C"},
    {"kAboutThanks2", res::kAboutThanks2, "8E 8E 8C B1 82 C9 8B A6 97 CD 82 B5 82 C4 89 BA 82 B3 82 C1 82 BD 95 FB 81 58"},
    {"kProgressText", res::kProgressText, "50 72 6F 67 72 65 73 73 31"},
    {"kOk", res::kOk, "4F 4B"},
    {"kFailedNameOpen", res::kFailedNameOpen, "81 75"},
    {"kFailedNameClose", res::kFailedNameClose, "81 76 82 F0 92 86 8E 7E 82 B5 82 DC 82 B5 82 BD 81 42"},
    {"kFailedWork", res::kFailedWork, "8F 88 97 9D 82 F0 92 86 8E 7E 82 B5 82 DC 82 B5 82 BD 81 42"},
    {"kOutOfMemory", res::kOutOfMemory, "83 81 83 82 83 8A 82 AA 91 AB 82 E8 82 DC 82 B9 82 F1 81 42"},
    {"kUnexpectedError", res::kUnexpectedError, "97 5C 8A FA 82 B5 82 C8 82 A2 83 47 83 89 81 5B 82 AA 8B 4E 82 AB 82 DC 82 B5 82 BD 81 42"},
    {"kRegistryFull", res::kRegistryFull, "8C 8F 82 CC 49 44 82 CD 81 41 51 4F 52 82 CC 49 44 93 6F 98 5E 82 AA 96 9E 94 74 28 49 44 39 39 82 DC 82 C5 29 82 CC 82 BD 82 DF 93 6F 98 5E 82 C5 82 AB 82 DC 82 B9 82 F1 82 C5 82 B5 82 BD 81 42"},
    {"kExportFailed", res::kExportFailed, "83 74 83 40 83 43 83 8B 82 C9 8F 91 82 AB 8F 6F 82 B9 82 DC 82 B9 82 F1 82 C5 82 B5 82 BD 3A 20"},
    {"kRegistryNotWritten", res::kRegistryNotWritten, "8C 8F 82 CC 49 44 82 CD 51 4F 52 2E 49 4E 49 82 C9 8F 91 82 AB 8D 9E 82 DF 82 DC 82 B9 82 F1 82 C5 82 B5 82 BD 81 42"},
};

std::string Hex(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%s%02X", out.empty() ? "" : " ", static_cast<unsigned char>(*p));
    out += byte;
  }
  return out;
}

TEST(Texts, EveryTextHasItsCodePage932Bytes) {
  for (const PinnedText& pinned : kPinned) EXPECT_EQ(Hex(pinned.text), pinned.bytes) << pinned.name;
}

}  // namespace
