// CDialog: a window made from a dialog template of the program's module.
//
// Contract:
// - DoModal runs the dialog modally (DialogBoxParam) and returns the result given to EndDialog
//   (-1 when the dialog could not be made). Create makes it modeless (CreateDialogParam).
// - On WM_INITDIALOG the object is hooked to the dialog window (its window procedure is
//   replaced by the framework's; the dialog manager's procedure becomes the default processing)
//   and the virtual OnInitDialog runs; its result is the message's result (true: the dialog
//   manager sets the focus to the first control that takes it).
// - CDialog::OnInitDialog runs the data exchange into the controls (UpdateData(FALSE)).
// - WM_COMMAND IDOK and IDCANCEL go to the virtual OnOK and OnCancel unless the derived class's
//   message table takes them; the defaults end the dialog with IDOK (after UpdateData(TRUE))
//   and IDCANCEL. Escape, the close box and Alt+F4 arrive as IDCANCEL.
// - Data exchange: DoDataExchange lists DDX_ calls; DDX_Control attaches a control of the
//   dialog to a CWnd member (messages are not redirected); DDX_Text copies a string to the
//   control's text, or, when saving, the control's text back to the string.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;  // true: controls to members; false: members to controls
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, std::string& value);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr)
      : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
  ~CDialog() override;

  virtual INT_PTR DoModal();
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  void EndDialog(int result);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  virtual void DoDataExchange(CDataExchange* /*dx*/) {}
  const MessageMap* GetMessageMap() const override;

 private:
  void HandleOk() { OnOK(); }
  void HandleCancel() { OnCancel(); }
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
  bool m_bModal = false;
};
