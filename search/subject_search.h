// The search commands of the pane's menu: subject search (110) and search next (111).
#pragma once

namespace qor {

void SubjectSearch();  // asks for a text, selects the first item from the selection on that holds it
void SearchNext();     // the next item after the last one found

}  // namespace qor
