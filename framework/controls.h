// Control wrappers: CStatic and CButton, attached to a dialog's controls by DDX_Control.
//
// Contract: thin wrappers that send the control's own messages; they own nothing. An image set
// on a static control stays the caller's to free.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

class CStatic : public CWnd {
 public:
  // STM_SETIMAGE with IMAGE_CURSOR; null clears the picture. Returns the previous one.
  HCURSOR SetCursor(HCURSOR cursor);
  HICON SetIcon(HICON icon);      // STM_SETICON
  HBITMAP SetBitmap(HBITMAP bitmap);  // STM_SETIMAGE with IMAGE_BITMAP
};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int check) { ::SendMessageA(m_hWnd, BM_SETCHECK, check, 0); }
};
