// The ID registration's reading of QOR.INI, and the registration itself, over an arbitrary QOR.INI.
//
// Input: the IDs found in mail, one "ID<TAB>name" a line, up to a NUL byte; the rest is QOR.INI.
// Checked:
// - a value splits into its first and second comma-separated field (runs of commas are one
//   separator, leading commas are skipped), as a plain model splits it;
// - the registry read has one entry or one free key for each of ID1..ID99, free exactly where the
//   value reads empty;
// - registering every candidate never changes a value that was there, and plain IDs (letters and
//   digits, short enough to read back whole) end up registered while free keys last.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/addin_state.h"
#include "fuzz/common.h"
#include "fuzz/in_process_addin.h"
#include "idexport/id_registration.h"
#include "platform/desktop.h"
#include "platform/sim/fuzz_hooks.h"

namespace {

void SplitModel(std::string_view value, std::string* id, std::string* name) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (fields.size() < 2 && at < value.size()) {
    while (at < value.size() && value[at] == ',') ++at;
    if (at == value.size()) break;
    const std::size_t end = std::min(value.find(',', at), value.size());
    fields.emplace_back(value.substr(at, end - at));
    at = end;
  }
  *id = fields.size() > 0 ? fields[0] : "";
  *name = fields.size() > 1 ? fields[1] : "";
}

void CheckSplit(std::string_view value) {
  std::string modelId, modelName;
  const qor::IdEntry split = qor::SplitRegistryValue(std::string(value));
  SplitModel(value, &modelId, &modelName);
  // The details are put together only for a report: a run checks thousands of values.
  if (split.id != modelId || split.name != modelName) qorfuzz::Fail("a registry value splits wrongly", qorfuzz::Escaped(value));
}

std::vector<std::string> Values() {
  std::vector<std::string> values;
  values.reserve(99);
  for (int number = 1; number <= 99; ++number) {
    char buffer[4096];
    const std::string key = "ID" + std::to_string(number);
    // As many bytes as the read reports: a value may hold NUL bytes.
    const std::size_t count = desktop::GetPrivateProfileString("ID", key.c_str(), "", buffer, sizeof buffer, "QOR.INI");
    values.emplace_back(buffer, count);
  }
  return values;
}

// Letters and digits only, short enough for the 255 bytes a registry value is read into.
bool Plain(std::string_view text) {
  if (text.empty() || text.size() > 100) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view idPart = input.substr(0, split);
  const std::string_view registryFile = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  std::vector<std::string> ids, names;
  for (std::size_t at = 0; at < idPart.size() && ids.size() < 120;) {
    const std::size_t end = std::min(idPart.find('\n', at), idPart.size());
    const std::string_view line = idPart.substr(at, end - at);
    const std::size_t tab = line.find('\t');
    ids.emplace_back(line.substr(0, tab));
    names.emplace_back(tab == std::string_view::npos ? line : line.substr(tab + 1));
    CheckSplit(line);
    at = end + 1;
  }

  // The profiles in memory: the registration's choices are what this target checks. One add-in,
  // attached once, serves every run: the registration keeps nothing between runs but QOR.INI,
  // which each run sets.
  const std::string& directory = qorfuzz::ScratchDirectory();
  static const bool attached = [&] {
    desktop::KeepProfilesInMemory(true);
    static qortest::InProcessAddin addin("x", directory, nullptr, "log.txt", 1);
    return addin.Attach();
  }();
  if (!attached) qorfuzz::Fail("the add-in did not attach");
  // Into the string the last run left: a fresh one each run would leave libFuzzer counting more
  // allocations than releases now and then, and running the input again to look for a leak.
  static const std::string registryPath = directory + "/QOR.INI";
  desktop::ProfilesInMemory()[registryPath].assign(registryFile);
  for (std::size_t at = 0; at < registryFile.size();) {
    const std::size_t end = std::min(registryFile.find('\n', at), registryFile.size());
    CheckSplit(registryFile.substr(at, std::min<std::size_t>(end - at, 300)));
    at = end + 1;
  }

  const std::vector<std::string> before = Values();
  const qor::Registry registry = qor::ReadRegistry();
  qorfuzz::Check(registry.entries.size() + registry.freeKeys.size() == 99, "the registry does not account for ID1..ID99");
  std::size_t nextFree = 0;
  for (int number = 1; number <= 99; ++number) {
    const bool free = nextFree < registry.freeKeys.size() && registry.freeKeys[nextFree] == number;
    if (free) ++nextFree;
    if (free != before[number - 1].empty()) {
      qorfuzz::Fail("a key is free where its value is not empty, or the reverse", "ID" + std::to_string(number));
    }
  }
  qorfuzz::Check(nextFree == registry.freeKeys.size(), "the free keys are not ID numbers in order");

  qor::state.idEntries.clear();
  for (std::size_t i = 0; i < ids.size(); ++i) qor::state.idEntries.push_back({ids[i], names[i]});
  qortest::InProcessAddin::Answer(6);  // yes, register
  qortest::InProcessAddin::KeepAllRows();
  qortest::InProcessAddin::Answer(1);  // done
  qortest::InProcessAddin::Answer(1);  // the registry is full
  qortest::InProcessAddin::Answer(1);  // entries that could not be written
  try {
    qor::RegisterIds();
  } catch (const desktop::ScriptError&) {
    // No candidates: the selection dialog was not shown and its answer met the closing box.
  }
  qortest::InProcessAddin::DropUnusedAnswers();

  const std::vector<std::string> after = Values();
  std::size_t freeLeft = 0;
  for (int number = 1; number <= 99; ++number) {
    if (!before[number - 1].empty()) {
      if (after[number - 1] != before[number - 1]) {
        qorfuzz::Fail("a registered value was written over", "ID" + std::to_string(number) + ": " +
                                                                  qorfuzz::Escaped(before[number - 1]) + " became " +
                                                                  qorfuzz::Escaped(after[number - 1]));
      }
    } else if (after[number - 1].empty()) {
      ++freeLeft;
    }
  }
  if (freeLeft == 0) return 0;
  std::vector<std::string> registered;
  for (const std::string& value : after) {
    std::string id, name;
    SplitModel(value.c_str(), &id, &name);  // the value as a C string: up to a NUL byte
    registered.push_back(id);
  }
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (!Plain(ids[i]) || !Plain(names[i]) || qor::StoredId({ids[i], names[i]}) != ids[i]) continue;  // too long
    bool found = false;
    for (const std::string& id : registered) found = found || id == ids[i];
    qorfuzz::Check(found, "a plain ID was not registered although keys are free", ids[i]);
  }
  return 0;
}
