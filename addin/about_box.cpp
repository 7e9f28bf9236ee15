#include "addin/commands.h"

namespace qor {

void ShowAboutBox() {}

}  // namespace qor
