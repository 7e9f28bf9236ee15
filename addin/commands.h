// The menu commands beyond the views: search, ID export and the About box.
#pragma once

namespace qor {

void SubjectSearch();  // 110
void SearchNext();     // 111
void RegisterIds();    // 130
void ExportCsv();      // 131
void ShowAboutBox();   // 1000

}  // namespace qor
