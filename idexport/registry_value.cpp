#include "idexport/registry_value.h"

#include <algorithm>

namespace qor {

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

}  // namespace qor
