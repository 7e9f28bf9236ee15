// Registration of the IDs found in mail into QOR's ID registry (QOR.INI, section ID, keys ID1 to
// ID99, values "ID,name,").
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "base/addin_state.h"
#include "idexport/field_text.h"
#include "idexport/registry_value.h"

namespace qor {

// QOR's ID registry: the file, its section and its keys ID1 to ID<kRegistryLastKey>.
constexpr char kRegistryFile[] = "QOR.INI";
constexpr char kRegistrySection[] = "ID";
constexpr int kRegistryLastKey = 99;
inline std::string RegistryKey(int number) { return "ID" + std::to_string(number); }

struct Registry {
  std::vector<IdEntry> entries;  // the values of the keys in use, in key order
  std::vector<int> freeKeys;  // key numbers among 1..kRegistryLastKey without a value, lowest first
};

// Command 130: registers the IDs of the last sent-and-received-by-ID listing the user picks.
void RegisterIds();

Registry ReadRegistry();
// The ID that the registry will read back once "id,name," is written: the profile functions keep
// a value to its line, drop its blanks at either end and read at most 255 bytes of it, and the
// read splits at commas. An ID that does not read back as itself cannot be registered.
std::string StoredId(const IdEntry& entry);
// The entry as it is written into the registry: CR, LF and NUL blanked, and the ID without the
// leading blanks the registry drops (a name that is the ID, as for an ID seen only in sent mail,
// the same). An ID that reads back as itself in this form can be registered. (Inline: mailzolka
// register tells by it which of the values it finds written had blanks put in.)
inline IdEntry RegistryForm(const IdEntry& entry) {
  IdEntry form{Blanked(entry.id), Blanked(entry.name)};
  form.id.erase(0, std::min(form.id.find_first_not_of(" \t\v\f\x1a"), form.id.size()));
  if (entry.name == entry.id) form.name = form.id;
  return form;
}

}  // namespace qor
