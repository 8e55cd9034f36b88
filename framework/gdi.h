// CFont: owns one GDI font.
//
// Contract: CreatePointFont makes a font of the given face at a point size given in tenths of a
// point (140 = 14 pt), for the screen (or the given device context); the font's height is the
// character height in logical units, negative as LOGFONT expects. The font is deleted with the
// object or by DeleteObject.
#pragma once

#include <windows.h>

class CFont {
 public:
  CFont() = default;
  ~CFont() { DeleteObject(); }
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;

  BOOL CreatePointFont(int pointSizeTenths, const char* faceName, HDC dc = nullptr);
  BOOL CreateFontIndirect(const LOGFONTA& font);
  BOOL DeleteObject();
  HFONT GetSafeHandle() const { return m_hObject; }
  operator HFONT() const { return m_hObject; }

 private:
  HFONT m_hObject = nullptr;
};
