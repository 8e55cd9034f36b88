#include "framework/controls.h"

HCURSOR CStatic::SetCursor(HCURSOR cursor) {
  return reinterpret_cast<HCURSOR>(
      SendMessage(STM_SETIMAGE, IMAGE_CURSOR, reinterpret_cast<LPARAM>(cursor)));
}

HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(
      SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
