// Command 130. New entries go into the lowest-numbered free keys, so an entry already in the
// registry is never written over. The keys are chosen and written under the registry's lock, from
// the registry as it stands then, so two registrations at once never take the same key. What is
// not written (no free key, an ID the registry cannot hold, a failed write) is reported with its
// count.
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

IdEntry SplitRegistryValue(const std::string& value) {
  IdEntry entry;
  std::size_t at = 0;
  for (std::string* field : {&entry.id, &entry.name}) {
    at = value.find_first_not_of(',', at);
    if (at == std::string::npos) break;
    const std::size_t end = std::min(value.find(',', at), value.size());
    field->assign(value, at, end - at);
    at = end;
  }
  return entry;
}

std::string StoredId(const IdEntry& entry) {
  std::string value = entry.id + "," + entry.name + ",";
  value.resize(std::min(value.find_first_of(std::string("\0\r\n", 3)), value.size()));
  const char* const blanks = " \t\v\f\x1a";
  value.erase(0, std::min(value.find_first_not_of(blanks), value.size()));
  value.erase(value.find_last_not_of(blanks) + 1);
  if (value.size() > kLabelBufferSize - 1) value.resize(kLabelBufferSize - 1);
  return SplitRegistryValue(value).id;
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
    registry.entries.push_back(SplitRegistryValue(value));
  }
  return registry;
}

namespace {

bool Holds(const Registry& registry, const std::string& id) {
  return std::any_of(registry.entries.begin(), registry.entries.end(),
                     [&](const IdEntry& entry) { return entry.id == id; });
}

struct Unwritten {
  std::size_t full = 0;   // no free key left
  std::size_t other = 0;  // an ID the registry cannot hold, or a write that failed
};

// Writes the chosen entries into the free keys of the registry as it stands now, under its lock
// when it can be had.
// An entry another program registered meanwhile is not written again.
Unwritten WriteEntries(const std::vector<IdEntry>& chosen) {
  Unwritten unwritten;
  // Without the lock (another program kept it too long, or none could be made) the entries are
  // written all the same, from the registry read just before: nothing registered would be worse.
  const platform::ProfileLock lock(kRegistryFile);
  Registry registry = ReadRegistry();
  std::size_t nextFree = 0;
  for (const IdEntry& entry : chosen) {
    if (StoredId(entry) != entry.id) {
      ++unwritten.other;
    } else if (Holds(registry, entry.id)) {
      continue;
    } else if (nextFree >= registry.freeKeys.size()) {
      ++unwritten.full;
    } else {
      const std::string value = entry.id + "," + entry.name + ",";
      const std::string key = KeyName(registry.freeKeys[nextFree]);
      if (platform::WriteProfileString(kSection, key.c_str(), value.c_str(), kRegistryFile)) {
        registry.entries.push_back(entry);
        ++nextFree;
      } else {
        ++unwritten.other;  // the key stays free for the next entry
      }
    }
  }
  return unwritten;
}

}  // namespace

void RegisterIds() {
  if (Ask(res::kAskRegister, platform::Buttons::YesNoCancel, platform::Icon::Question) != platform::Answer::Yes) return;
  // Each ID is compared as the registry would read it back, so an ID that the registry cannot
  // hold whole is not offered again once its stored form is there.
  Registry registry = ReadRegistry();
  std::vector<IdEntry> candidates;
  for (const IdEntry& entry : state.idEntries) {
    const std::string stored = StoredId(entry);
    if (Holds(registry, stored)) continue;
    // An ID twice in the list is offered once. One that cannot be stored whole is offered (and
    // counted as not written) but does not stand for the shorter ID it would read back as.
    if (stored == entry.id) registry.entries.push_back({stored, entry.name});
    candidates.push_back(entry);
  }

  Unwritten unwritten;
  if (!candidates.empty() && IdSelectDialog().Choose(candidates) == platform::kIdOk) {
    unwritten = WriteEntries(candidates);
  }
  Ask(res::kRegisterDone, platform::Buttons::Ok, platform::Icon::None);
  if (unwritten.full > 0) {
    const std::string text = std::to_string(unwritten.full) + res::kRegistryFull;
    Ask(text.c_str(), platform::Buttons::Ok, platform::Icon::Exclamation);
  }
  if (unwritten.other > 0) {
    const std::string text = std::to_string(unwritten.other) + res::kRegistryNotWritten;
    Ask(text.c_str(), platform::Buttons::Ok, platform::Icon::Exclamation);
  }
}

}  // namespace qor
