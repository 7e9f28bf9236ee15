// Image lists: only the count of images matters, for the indexes they hand out.
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {

Handle CreateImageList(int, int, int, int) {
  const Handle images = detail::NewHandle();
  detail::TheDesktop().imageLists.emplace(images, detail::ImageList{});
  return images;
}

int ImageListAdd(Handle images) {
  auto& lists = detail::TheDesktop().imageLists;
  const auto found = lists.find(images);
  return found == lists.end() ? -1 : found->second.count++;
}

void DestroyImageList(Handle images) { detail::TheDesktop().imageLists.erase(images); }

}  // namespace simdesk::seam
