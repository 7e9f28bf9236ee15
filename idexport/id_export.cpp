#include "addin/commands.h"

namespace qor {

void RegisterIds() {}
void ExportCsv() {}

}  // namespace qor
