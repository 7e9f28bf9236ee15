#include "addin/commands.h"

namespace qor {

void SubjectSearch() {}
void SearchNext() {}

}  // namespace qor
