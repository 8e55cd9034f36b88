#include "framework/dialog.h"

#include "framework/app.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd == nullptr) control.Attach(dx->m_pDlgWnd->GetDlgItem(id));
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
  HWND item = dx->m_pDlgWnd->GetDlgItem(id);
  if (item == nullptr) return;
  if (dx->m_bSaveAndValidate) {
    const int length = ::GetWindowTextLengthA(item);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    value = text;
  } else {
    ::SetWindowTextA(item, value.c_str());
  }
}

CDialog::~CDialog() {
  // A modeless dialog still open goes with its object; a modal one has ended in DoModal.
  if (m_hWnd != nullptr && !m_bModal) ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal() {
  m_bModal = true;
  HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  const INT_PTR result =
      ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent,
                        &DialogProc, reinterpret_cast<LPARAM>(this));
  m_bModal = false;
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  m_bModal = false;
  HWND hwnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(templateId),
                                   parent != nullptr ? parent->m_hWnd : nullptr, &DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr;
}

void CDialog::EndDialog(int result) {
  if (m_bModal) {
    ::EndDialog(m_hWnd, result);
  } else {
    ::DestroyWindow(m_hWnd);
  }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

const MessageMap* CDialog::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnCommand(IDOK, &CDialog::HandleOk),
      OnCommand(IDCANCEL, &CDialog::HandleCancel),
  };
  static const MessageMap map{nullptr, entries, sizeof entries / sizeof entries[0]};
  return &map;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  // Once the object is hooked, its own window procedure has handled the message already and
  // passes here only what is left for the dialog manager's default processing.
  if (message != WM_INITDIALOG || FromHandlePermanent(hwnd) != nullptr) return FALSE;
  auto* dialog = reinterpret_cast<CDialog*>(lParam);
  if (dialog == nullptr) return FALSE;
  dialog->HookWindow(hwnd, true);
  return dialog->OnInitDialog();
}
