// The tree's image list, filled from the module's bitmap resources.
#include "platform/image_list.h"

#include "platform/win32/win32.h"

namespace platform {

// Colour images without mask.
ImageListHandle CreateImageList(int width, int height, int initial, int grow) {
  win32::InitControls();
  return ImageList_Create(width, height, ILC_COLOR, initial, grow);
}

int AddBitmapResource(ImageListHandle images, int resourceId) {
  HBITMAP bitmap = LoadBitmapA(win32::ThisModule(), MAKEINTRESOURCEA(resourceId));
  if (!bitmap) return -1;
  const int index = ImageList_Add(static_cast<HIMAGELIST>(images), bitmap, nullptr);
  DeleteObject(bitmap);  // the image list keeps a copy
  return index;
}

void DestroyImageList(ImageListHandle images) {
  if (images) ImageList_Destroy(static_cast<HIMAGELIST>(images));
}

}  // namespace platform
