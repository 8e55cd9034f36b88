#include "monitor/status_monitor_dlg.h"

#include <dbt.h>

#include "framework/app.h"
#include "monitor/poller_win.h"
#include "monitor/res/resource.h"

namespace {

// Sent by the shell to every top-level window when the notification area (re)appears.
const UINT g_wmTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

}  // namespace

CStatusMonitorDlg::CStatusMonitorDlg(CWnd* parent)
    : CDialog(IDD, parent),
      m_hIcon(AfxGetApp()->LoadIcon(IDI_STATUS_MONITOR)),
      m_status(MakePlatform()) {}

CStatusMonitorDlg::~CStatusMonitorDlg() = default;

MonitorPlatform CStatusMonitorDlg::MakePlatform() {
  MonitorPlatform platform;
  platform.view = this;
  platform.tray = &m_tray;
  platform.spooler = &m_spooler;
  platform.registry = &m_registry;
  platform.devices = &m_devices;
  platform.services = &m_services;
  platform.portIo = &m_portIo;
  platform.inventory = &m_inventory;
  platform.files = &m_files;
  platform.resources = &m_resources;
  platform.images = &m_images;
  platform.shellWindows = &m_shellWindows;
  platform.threads = &m_threads;
  platform.pollerEntry = &PollerThreadEntry;
  return platform;
}

const MessageMap* CStatusMonitorDlg::GetMessageMap() const {
  using D = CStatusMonitorDlg;
  static const MessageMapEntry entries[] = {
      OnMessage(WM_PAINT, &D::OnPaint),
      OnMessage(WM_QUERYDRAGICON, &D::OnQueryDragIcon),
      OnCommand(kCmdShowStatusWindow, &D::ShowStatusWindow),
      OnCommand(kCmdRestartMonitoring, &D::RestartMonitoring),
      OnCommand(kCmdExitMonitor, &D::ExitMonitor),
      OnMessage(kWmStatusMessage, &D::OnStatusMessage),
      OnMessage(WM_DEVICECHANGE, &D::OnDeviceChange),
      OnMessage(WM_TIMER, &D::OnTimer),
      OnCommand(IDC_OK_BUTTON, &D::OnOkButton),
      OnMessage(WM_CLOSE, &D::OnClose),
      OnMessage(WM_CTLCOLORSTATIC, &D::OnCtlColorStatic),
      OnMessage(WM_WINDOWPOSCHANGING, &D::OnWindowPosChanging),
      OnRegisteredMessage(&g_wmTaskbarCreated, &D::OnTaskbarCreated),
  };
  static const MessageMap map{CDialog::GetMessageMap(), entries,
                              sizeof entries / sizeof entries[0]};
  return &map;
}

void CStatusMonitorDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_ANIMATION, m_stAnimation);
  DDX_Text(dx, IDC_ADVICE, m_status.m_strAdvice);
  DDX_Control(dx, IDC_TIP, m_stTip);
  DDX_Control(dx, IDC_HEADING, m_stHeading);
  DDX_Control(dx, IDC_VERSION, m_stVersion);
}

BOOL CStatusMonitorDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  return m_status.OnInitDialog() ? TRUE : FALSE;
}

// --- IStatusView ---

WindowHandle CStatusMonitorDlg::MainWindow() {
  CWnd* main = AfxGetMainWnd();
  return reinterpret_cast<WindowHandle>(main != nullptr ? main->m_hWnd : nullptr);
}

void CStatusMonitorDlg::SetWindowIcons() {
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
}

void CStatusMonitorDlg::SetHeadingFont(const char* faceName, int pointSizeTenths) {
  m_fontHeading.CreatePointFont(pointSizeTenths, faceName);
  m_stHeading.SetFont(&m_fontHeading, TRUE);
}

void CStatusMonitorDlg::SetCaption(const std::string& text) { SetWindowText(text.c_str()); }

void CStatusMonitorDlg::SetVersionText(const std::string& text) {
  m_stVersion.SetWindowText(text.c_str());
}

void CStatusMonitorDlg::SetTipText(const std::string& text) {
  m_stTip.SetWindowText(text.c_str());
}

void CStatusMonitorDlg::SetHeading(const std::string& text) {
  m_stHeading.SetWindowText(text.c_str());
}

void CStatusMonitorDlg::SetAdviceText(const std::string& text) {
  SetDlgItemText(IDC_ADVICE, text.c_str());
}

void CStatusMonitorDlg::SetAnimation(ImageHandle cursor) {
  m_stAnimation.SetCursor(reinterpret_cast<HCURSOR>(cursor));
}

void CStatusMonitorDlg::Show(ShowCommand command) {
  ShowWindow(command == ShowCommand::kRestore ? SW_RESTORE : SW_HIDE);
}

std::uint32_t CStatusMonitorDlg::SetTimer(std::uint32_t id, std::uint32_t milliseconds) {
  return static_cast<std::uint32_t>(CWnd::SetTimer(id, milliseconds));
}

bool CStatusMonitorDlg::KillTimer(std::uint32_t id) { return CWnd::KillTimer(id) != FALSE; }

void CStatusMonitorDlg::EndDialog(int result) { CDialog::EndDialog(result); }

// --- messages and commands ---

LRESULT CStatusMonitorDlg::OnPaint(WPARAM, LPARAM) {
  if (!IsIconic()) return Default();
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(&client);
  const IconOrigin origin =
      MinimisedIconOrigin(client.right - client.left, client.bottom - client.top,
                          ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
  ::DrawIcon(dc, origin.x, origin.y, m_hIcon);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CStatusMonitorDlg::OnQueryDragIcon(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_hIcon);
}

void CStatusMonitorDlg::ShowStatusWindow() { m_status.ShowStatusWindow(); }

void CStatusMonitorDlg::RestartMonitoring() { m_status.RestartMonitoring(); }

void CStatusMonitorDlg::ExitMonitor() { m_status.ExitMonitor(); }

LRESULT CStatusMonitorDlg::OnStatusMessage(WPARAM, LPARAM) {
  m_status.OnStatusMessage();
  return 0;
}

LRESULT CStatusMonitorDlg::OnDeviceChange(WPARAM eventType, LPARAM record) {
  m_status.OnDeviceChange(static_cast<std::uintptr_t>(eventType),
                          reinterpret_cast<const void*>(record));
  return 0;
}

LRESULT CStatusMonitorDlg::OnTimer(WPARAM timerId, LPARAM) {
  m_status.OnTimer(static_cast<std::uint32_t>(timerId));
  return Default();
}

void CStatusMonitorDlg::OnOkButton() { m_status.HideByUser(); }

void CStatusMonitorDlg::OnOK() { m_status.HideByUser(); }

void CStatusMonitorDlg::OnCancel() { m_status.HideByUser(); }

LRESULT CStatusMonitorDlg::OnClose(WPARAM, LPARAM) {
  m_status.HideByUser();
  return 0;
}

LRESULT CStatusMonitorDlg::OnCtlColorStatic(WPARAM dc, LPARAM control) {
  const LRESULT brush = Default();
  if (reinterpret_cast<HWND>(control) == m_stHeading.m_hWnd && m_stHeading.m_hWnd != nullptr) {
    const Rgb colour = HeadingTextColour(m_stHeading.GetWindowText());
    ::SetTextColor(reinterpret_cast<HDC>(dc), RGB(colour.r, colour.g, colour.b));
  }
  return brush;
}

LRESULT CStatusMonitorDlg::OnWindowPosChanging(WPARAM, LPARAM windowPos) {
  auto* position = reinterpret_cast<WINDOWPOS*>(windowPos);
  position->flags = m_status.OnWindowPosChanging(position->flags);
  return Default();
}

LRESULT CStatusMonitorDlg::OnTaskbarCreated(WPARAM, LPARAM) {
  m_status.OnTaskbarCreated();
  return 0;
}
