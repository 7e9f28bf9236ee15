// The tree's image list: colour images without mask, filled from the add-in's bitmap resources.
#pragma once
#include "platform/platform.h"

namespace platform {

ImageListHandle CreateImageList(int width, int height, int initial, int grow);
int AddBitmapResource(ImageListHandle images, int resourceId);  // index of the image, -1 on failure
void DestroyImageList(ImageListHandle images);

}  // namespace platform
