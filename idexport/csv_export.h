// Command 131: the IDs of the last sent-and-received-by-ID listing, with their names, into a CSV
// file the user names.
#pragma once

namespace qor {

void ExportCsv();

}  // namespace qor
