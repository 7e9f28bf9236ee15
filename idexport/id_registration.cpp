// Command 130. New entries go into the lowest-numbered free keys, so an entry already in the
// registry is never written over. Each key is chosen and written under the registry's lock, from
// the registry as it stands at that moment, so two registrations at once never take the same key
// and what another program saved meanwhile is kept. What is not written (no free key, an ID the
// registry cannot hold, a failed write) is reported with its count, and so are the entries written
// with blanks for their line breaks.
#include "idexport/id_registration.h"

#include <algorithm>
#include <string>

#include "base/addin_state.h"
#include "idexport/field_text.h"
#include "idexport/id_select_dialog.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "res/texts.h"

namespace qor {

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
  for (int number = 1; number <= kRegistryLastKey; ++number) {
    char value[kLabelBufferSize] = {};
    const std::string key = RegistryKey(number);
    if (platform::GetProfileString(kRegistrySection, key.c_str(), "", value, sizeof value, kRegistryFile) == 0) {
      registry.freeKeys.push_back(number);
      continue;
    }
    registry.entries.push_back(SplitRegistryValue(value));
  }
  return registry;
}

namespace {

bool KeyIsFree(int number) {
  char value[2] = {};
  const std::string key = RegistryKey(number);
  return platform::GetProfileString(kRegistrySection, key.c_str(), "", value, sizeof value, kRegistryFile) == 0;
}

bool Holds(const Registry& registry, const std::string& id) {
  return std::any_of(registry.entries.begin(), registry.entries.end(),
                     [&](const IdEntry& entry) { return entry.id == id; });
}

struct Outcome {
  std::vector<IdEntry> written;
  std::size_t full = 0;   // no free key left
  std::size_t other = 0;  // an ID the registry cannot hold, or a write that failed
};

// Writes the chosen entries (in registry form) into the free keys, under the registry's lock when
// it can be had. Each write starts from the registry as it stands then, as each call of the profile
// functions reads the file anew: an entry another program registered meanwhile is not written
// again, and a key another program filled is not written over. Without the lock (another program
// kept it too long, or none could be made) the entries are written all the same: nothing
// registered would be worse.
Outcome WriteEntries(const std::vector<IdEntry>& chosen) {
  Outcome outcome;
  const platform::ProfileLock lock(kRegistryFile);
  for (const IdEntry& entry : chosen) {
    if (StoredId(entry) != entry.id) {
      ++outcome.other;
      continue;
    }
    Registry registry = ReadRegistry();
    // A key read free early in that read may have been filled since, by a program that does not
    // take the lock (an editor): it is asked again just before the write.
    for (int attempt = 0; attempt < 10 && !registry.freeKeys.empty() && !KeyIsFree(registry.freeKeys.front()); ++attempt) {
      registry = ReadRegistry();
    }
    if (Holds(registry, entry.id)) continue;
    if (registry.freeKeys.empty()) {
      ++outcome.full;
      continue;
    }
    const std::string value = entry.id + "," + entry.name + ",";
    const std::string key = RegistryKey(registry.freeKeys.front());
    if (platform::WriteProfileString(kRegistrySection, key.c_str(), value.c_str(), kRegistryFile)) {
      outcome.written.push_back(entry);
    } else {
      ++outcome.other;  // the key stays free for the next entry
    }
  }
  return outcome;
}

void Tell(std::size_t count, const char* text) {
  if (count == 0) return;
  const std::string message = std::to_string(count) + text;
  ShowBox(message);
}

}  // namespace

void RegisterIds() {
  if (ShowBox(res::kAskRegister, platform::Buttons::YesNoCancel, platform::Icon::Question) != platform::Answer::Yes) return;
  // Each ID is compared in the form it is written in, as the registry would read it back, so an
  // ID is offered once and, once registered, not again.
  Registry registry = ReadRegistry();
  std::vector<IdEntry> candidates;
  std::vector<IdEntry> blanked;  // candidates whose line breaks became blanks
  for (const IdEntry& entry : state.idEntries) {
    const IdEntry form = RegistryForm(entry);
    const std::string stored = StoredId(form);
    if (Holds(registry, stored)) continue;
    // An ID twice in the list is offered once. One that cannot be stored whole is offered (and
    // counted as not written) but does not stand for the shorter ID it would read back as.
    if (stored == form.id) registry.entries.push_back(form);
    candidates.push_back(form);
    if (Blanked(entry.id) != entry.id || Blanked(entry.name) != entry.name) blanked.push_back(form);
  }

  Outcome outcome;
  if (!candidates.empty() && IdSelectDialog().Choose(candidates) == platform::kIdOk) {
    outcome = WriteEntries(candidates);
  }
  ShowBox(res::kRegisterDone);
  Tell(outcome.full, res::kRegistryFull);
  Tell(outcome.other, res::kRegistryNotWritten);
  Tell(std::count_if(outcome.written.begin(), outcome.written.end(),
                     [&](const IdEntry& entry) { return std::count(blanked.begin(), blanked.end(), entry) > 0; }),
       res::kLineBreaksBlanked);
}

}  // namespace qor
