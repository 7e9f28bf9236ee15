#include "platform/image_list.h"

#include "platform/sim/desktop_internal.h"

namespace platform {

ImageListHandle CreateImageList(int width, int height, int initial, int grow) {
  return simdesk::seam::CreateImageList(width, height, initial, grow);
}

// Bitmaps are not loaded: each resource takes the next index.
int AddBitmapResource(ImageListHandle images, int) { return simdesk::seam::ImageListAdd(images); }

void DestroyImageList(ImageListHandle images) { simdesk::seam::DestroyImageList(images); }

}  // namespace platform
