// Image lists: only the count of images matters, for the indexes they hand out.
#include "platform/image_list.h"
#include "platform/sim/desktop/state.h"

namespace platform {

ImageListHandle CreateImageList(int, int, int, int) {
  const ImageListHandle images = desktop::detail::NewHandle();
  desktop::detail::TheDesktop().imageLists.emplace(images, desktop::detail::ImageList{});
  return images;
}

// Bitmaps are not loaded: each resource takes the next index.
int AddBitmapResource(ImageListHandle images, int) {
  auto& lists = desktop::detail::TheDesktop().imageLists;
  const auto found = lists.find(images);
  return found == lists.end() ? -1 : found->second.count++;
}

void DestroyImageList(ImageListHandle images) { desktop::detail::TheDesktop().imageLists.erase(images); }

}  // namespace platform
