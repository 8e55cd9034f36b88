#include "framework/gdi.h"

#include <cstdlib>
#include <cstring>

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, HDC dc) {
  LOGFONTA font{};
  font.lfCharSet = DEFAULT_CHARSET;
  if (faceName != nullptr) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);

  HDC screen = dc != nullptr ? dc : ::GetDC(nullptr);
  // 72 points to the inch, 10 tenths to the point.
  POINT size{0, ::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), pointSizeTenths, 720)};
  POINT origin{0, 0};
  ::DPtoLP(screen, &size, 1);
  ::DPtoLP(screen, &origin, 1);
  font.lfHeight = -std::abs(size.y - origin.y);
  if (dc == nullptr) ::ReleaseDC(nullptr, screen);
  return CreateFontIndirect(font);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA& font) {
  DeleteObject();
  m_hObject = ::CreateFontIndirectA(&font);
  return m_hObject != nullptr;
}

BOOL CFont::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  const BOOL ok = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return ok;
}
