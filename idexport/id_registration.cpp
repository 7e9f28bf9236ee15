// Command 130. New entries go into the lowest-numbered free keys, so an entry already in the
// registry is never written over; what does not fit in ID1..ID99 is reported, not written.
#include "idexport/id_registration.h"

#include <algorithm>
#include <string>

#include "addin/addin_state.h"
#include "addin/commands.h"
#include "idexport/id_select_dialog.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "res/texts.h"

namespace qor {

namespace {

constexpr char kRegistryFile[] = "QOR.INI";
constexpr char kSection[] = "ID";
constexpr int kLastKey = 99;

std::string KeyName(int number) { return "ID" + std::to_string(number); }

platform::Answer Ask(const char* text, platform::Buttons buttons, platform::Icon icon) {
  const std::string caption = ModuleBaseName();
  return platform::ShowMessageBox(caption.c_str(), text, buttons, icon);
}

}  // namespace

void SplitRegistryValue(const std::string& value, std::string* id, std::string* name) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (fields.size() < 2) {
    at = value.find_first_not_of(',', at);
    if (at == std::string::npos) break;
    const std::size_t end = std::min(value.find(',', at), value.size());
    fields.push_back(value.substr(at, end - at));
    at = end;
  }
  *id = fields.size() > 0 ? fields[0] : std::string();
  *name = fields.size() > 1 ? fields[1] : std::string();
}

Registry ReadRegistry() {
  Registry registry;
  for (int number = 1; number <= kLastKey; ++number) {
    char value[kLabelBufferSize] = {};
    const std::string key = KeyName(number);
    if (platform::GetProfileString(kSection, key.c_str(), "", value, sizeof value, kRegistryFile) == 0) {
      registry.freeKeys.push_back(number);
      continue;
    }
    std::string id, name;
    SplitRegistryValue(value, &id, &name);
    registry.ids.push_back(std::move(id));
    registry.names.push_back(std::move(name));
  }
  return registry;
}

void RegisterIds() {
  if (Ask(res::kAskRegister, platform::Buttons::YesNoCancel, platform::Icon::Question) != platform::Answer::Yes) return;
  Registry registry = ReadRegistry();
  std::vector<std::string> candidateIds, candidateNames;
  for (std::size_t q = 0; q < state.idList.size(); ++q) {
    const std::string& id = state.idList[q];
    if (std::find(registry.ids.begin(), registry.ids.end(), id) != registry.ids.end()) continue;
    registry.ids.push_back(id);  // an ID twice in the list is offered once
    registry.names.push_back(state.nameList[q]);
    candidateIds.push_back(id);
    candidateNames.push_back(state.nameList[q]);
  }

  std::size_t notRegistered = 0;
  if (!candidateIds.empty() && IdSelectDialog().Choose(candidateNames, candidateIds) == platform::kIdOk) {
    for (std::size_t i = 0; i < candidateIds.size(); ++i) {
      if (i >= registry.freeKeys.size()) {
        notRegistered = candidateIds.size() - i;
        break;
      }
      const std::string value = candidateIds[i] + "," + candidateNames[i] + ",";
      const std::string key = KeyName(registry.freeKeys[i]);
      platform::WriteProfileString(kSection, key.c_str(), value.c_str(), kRegistryFile);
    }
  }
  Ask(res::kRegisterDone, platform::Buttons::Ok, platform::Icon::None);
  if (notRegistered > 0) {
    const std::string text = std::to_string(notRegistered) + res::kRegistryFull;
    Ask(text.c_str(), platform::Buttons::Ok, platform::Icon::Exclamation);
  }
}

}  // namespace qor
