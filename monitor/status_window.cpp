// Start-up, commands, show rule and painting rules of the status window.
#include "monitor/status_window.h"

#include "common/model_table.h"
#include "common/printing_tips.h"
#include "monitor/monitor_state.h"
#include "monitor/port_access.h"
#include "monitor/status_animation.h"
#include "monitor/status_evaluation.h"
#include "monitor/tray_logic.h"

Rgb HeadingTextColour(const std::string& heading) {
  if (heading == "Ready" || heading == "Printing") return {0, 0, 255};
  return {172, 168, 153};
}

std::uint32_t FilterWindowPosFlags(bool showAllowed, std::uint32_t flags) {
  return showAllowed ? flags : (flags & ~kSwpShowWindow);
}

IconOrigin MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

StatusWindow::StatusWindow(const MonitorPlatform& platform) : p_(platform) {}

StatusWindow::~StatusWindow() {
  if (m_hErrorAnimation != kNoHandle) p_.images->DestroyCursor(m_hErrorAnimation);
  if (m_hInformationAnimation != kNoHandle) p_.images->DestroyCursor(m_hInformationAnimation);
  delete m_pPollerParam;
}

bool StatusWindow::OnInitDialog() {
  PushAdvice();
  p_.view->SetWindowIcons();
  p_.view->SetHeadingFont("Arial", 140);
  m_nLptStatus = -1;
  m_nLptTimer = 0;
  p_.tray->CreateTrayIcon(kWmTrayNotification, kTrayTipText,
                          p_.images->LoadIconResource(kIdTrayIcon));

  g_pollerStop = 0;
  m_hMainWnd = p_.view->MainWindow();
  m_pPollerParam = new PollerParam{m_hMainWnd, &g_pollerStop};
  if (OpenAndResolvePrinter()) StartPoller();

  UsbPresent = false;
  CheckUsbPrinterPresence();
  RegisterUsbNotification();

  p_.view->SetCaption(std::string(PrinterName[kModelRow]) + " - Status Monitor");
  p_.view->SetVersionText(VersionText);
  ShowNextTip();
  m_bShowAllowed = false;
  return true;
}

void StatusWindow::ShowNextTip() {
  if (g_tipIndex < 0 || g_tipIndex >= kPrintingTipCount) g_tipIndex = 0;
  p_.view->SetTipText(PrintingTips[g_tipIndex]);
  g_tipIndex += 1;
}

bool StatusWindow::StartPoller() {
  g_pPollerThread = p_.threads->Start(p_.pollerEntry, m_pPollerParam);
  return g_pPollerThread != kNoHandle;
}

void StatusWindow::ShowStatusWindow() {
  m_bShowAllowed = true;
  g_searching = 1;
  ShowNextTip();
  p_.view->Show(ShowCommand::kRestore);
  RestartMonitoring();
}

void StatusWindow::RestartMonitoring() {
  if (m_pPollerParam == nullptr) return;  // the monitor has ended
  m_hMainWnd = p_.view->MainWindow();
  g_pollerStop = 1;
  if (!OpenAndResolvePrinter()) return;  // the old poller ends by itself on the flag

  if (g_pPollerThread != kNoHandle) {
    p_.threads->Join(g_pPollerThread);
    p_.threads->Close(g_pPollerThread);
    g_pPollerThread = kNoHandle;
  }
  g_pollerStop = 0;
  *m_pPollerParam = PollerParam{m_hMainWnd, &g_pollerStop};
  StartPoller();
}

void StatusWindow::ExitMonitor() {
  if (g_pPollerThread != kNoHandle) {
    p_.threads->Terminate(g_pPollerThread);
    p_.threads->Close(g_pPollerThread);
    g_pPollerThread = kNoHandle;
  }
  delete m_pPollerParam;
  m_pPollerParam = nullptr;

  SweepNotificationArea(*p_.shellWindows);
  p_.tray->RemoveTrayIcon();

  if (DeviceNotifyHandle != kNoHandle) {
    p_.devices->UnregisterNotification(DeviceNotifyHandle);
    DeviceNotifyHandle = kNoHandle;
  }
  ClosePortDriver(*p_.portIo);
  if (m_hPrinter != kNoHandle) {
    p_.spooler->ClosePrinter(m_hPrinter);
    m_hPrinter = kNoHandle;
  }
  p_.view->EndDialog(kIdOk);
}

void StatusWindow::HideByUser() { p_.view->Show(ShowCommand::kHide); }

void StatusWindow::OnTimer(std::uint32_t /*timerId*/) {
  m_nLptStatus = DecodeLptStatus(ReadPortByte(*p_.portIo, LptStatusPort));
}

void StatusWindow::OnTaskbarCreated() { p_.tray->RestoreTrayIcon(); }

void StatusWindow::RevealWindow() {
  m_bShowAllowed = true;
  p_.view->Show(ShowCommand::kRestore);
}

void StatusWindow::AutoHideWindow() {
  m_bShowAllowed = false;
  p_.view->Show(ShowCommand::kHide);
}

void StatusWindow::SetHeading(const std::string& text) { p_.view->SetHeading(text); }

ImageHandle StatusWindow::Animation(std::uint32_t animationId) {
  ImageHandle* slot = animationId == kIdErrorAnimation         ? &m_hErrorAnimation
                      : animationId == kIdInformationAnimation ? &m_hInformationAnimation
                                                               : nullptr;
  if (slot == nullptr) return kNoHandle;
  if (*slot == kNoHandle) *slot = LoadStatusAnimation(*p_.resources, *p_.images, animationId);
  return *slot;
}

void StatusWindow::SetAnimation(std::uint32_t animationId) {
  p_.view->SetAnimation(animationId == 0 ? kNoHandle : Animation(animationId));
}

void StatusWindow::PushAdvice() { p_.view->SetAdviceText(m_strAdvice); }
