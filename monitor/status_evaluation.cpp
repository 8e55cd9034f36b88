// The status rules and the evaluation cycle of the status window.
#include "monitor/status_evaluation.h"

#include <memory>
#include <new>

#include "common/model_table.h"
#include "monitor/monitor_state.h"
#include "monitor/status_window.h"

int g_displayedState = 0;
int g_searchCount = 0;
int g_autoHideArmed = 0;
int g_autoHideCount = 0;
int g_faultCountPrinting = 0;
int g_faultCountIdle = 0;
int g_faultCountJob = 0;

std::int32_t DecodeLptStatus(std::uint8_t statusByte) {
  const unsigned b = statusByte & 0xF8u;
  // Bit 7 (not busy), bit 5 (paper end), bit 4 (selected), bit 3 (no error); bit 6 is ignored.
  const unsigned key = ((b >> 7) & 1u) << 3 | ((b >> 5) & 1u) << 2 | ((b >> 4) & 1u) << 1 |
                       ((b >> 3) & 1u);
  switch (key) {
    case 0b0111: return 1;
    case 0b1000: return 1;
    case 0b1011: return 2;
    case 0b0100: return 3;
    case 0b0001: return 4;
    default: return -1;
  }
}

namespace {

const char* const kCommunicationError = "Communication Error";
const char* const kPaperOutError = "Paper-Out Error";
const char* const kOfflineError = "Printer OFFLINE Error";
const char* const kPortFaultAdvice =
    "Check all connections and make sure all device is turned ON.\nIf the power was turned off "
    "during printing, cancel the print job.";
const char* const kPaperOutAdvice = "Please insert the Paper.";
const char* const kOfflineAdvice = "Press the Online button once to make the printer ONLINE.";

std::vector<DisplayState> MakeDisplayStates() {
  const std::string printer = PrinterName[kModelRow];
  return {
      {1, kCommunicationError,
       "\"Pause Printing\" is selected in " + printer +
           " driver.\nGoto \"Printer and Faxes\" folder, right click and choose \"Resume "
           "Printing\"",
       Picture::kError, true},
      {16, "Printing", "Printing...\n(Window will minimize in 2sec...)", Picture::kInformation,
       false},
      {18, kCommunicationError,
       "Check all connections and make sure all device is turned ON. If the power was turned "
       "off during printing, cancel the print job.",
       Picture::kError, true},
      {20, kCommunicationError,
       "Printer is not connected or switched OFF.\nEnsure USB cable is connected properly and "
       "the printer is switched ON.",
       Picture::kError, false},
      {1000, kCommunicationError, kPortFaultAdvice, Picture::kError, false},
      {1001, kCommunicationError, kPortFaultAdvice, Picture::kError, true},
      {1010, kCommunicationError, kPortFaultAdvice, Picture::kError, false},
      {2000, "Ready", "Ready to print.\n(Window will minimize in 2sec...)", Picture::kInformation,
       false},
      {-1, "Ready", "Ready to print.", Picture::kInformation, false},
      {3000, kPaperOutError, kPaperOutAdvice, Picture::kError, false},
      {3001, kPaperOutError, kPaperOutAdvice, Picture::kError, true},
      {3010, kPaperOutError, kPaperOutAdvice, Picture::kError, false},
      {3011, kPaperOutError, kPaperOutAdvice, Picture::kError, true},
      {4000, kOfflineError, kOfflineAdvice, Picture::kError, false},
      {4001, kOfflineError, kOfflineAdvice, Picture::kError, true},
      {4010, kOfflineError, kOfflineAdvice, Picture::kError, false},
      {4011, kOfflineError, kOfflineAdvice, Picture::kError, true},
  };
}

void ResetFaultCounters() {
  g_faultCountPrinting = 0;
  g_faultCountIdle = 0;
  g_faultCountJob = 0;
}

class Evaluation {
 public:
  explicit Evaluation(EvaluationOutcome& outcome) : outcome_(outcome) {}

  // Applies the state unless it is already displayed; true when it was applied.
  bool Apply(int state) {
    if (g_displayedState == state) return false;
    g_displayedState = state;
    outcome_.appliedState = state;
    return true;
  }

  void AutoHideStep() {
    g_autoHideCount += 1;
    if (g_autoHideArmed == 1 && g_autoHideCount > 3) {
      g_autoHideArmed = 0;
      g_autoHideCount = 0;
      outcome_.autoHide = true;
    }
  }

  // A debounced port fault: the state is applied when the counter reaches its limit.
  void CountFault(int& counter, int limit, int state) {
    counter += 1;
    if (counter == limit && Apply(state)) counter = 0;
    if (counter > limit) counter = 0;
  }

 private:
  EvaluationOutcome& outcome_;
};

}  // namespace

const DisplayState* FindDisplayState(int code) {
  static const std::vector<DisplayState> states = MakeDisplayStates();
  for (const DisplayState& state : states) {
    if (state.code == code) return &state;
  }
  return nullptr;
}

std::int32_t SelectJobStatus(const std::vector<std::uint32_t>& jobStatuses) {
  std::int32_t selected = -1;
  for (std::uint32_t status : jobStatuses) {
    if ((status & kJobStatusPrinting) == 0) continue;
    selected = static_cast<std::int32_t>(status);
    if (status & kJobStatusEndsJobScan) break;
  }
  return selected;
}

EvaluationOutcome EvaluateStatus(const StatusReadings& r) {
  EvaluationOutcome outcome;
  Evaluation e(outcome);

  if (g_searching == 1) {  // S
    g_searchCount += 1;
    outcome.searching = true;
    if (g_searchCount > 2) {
      g_searching = 0;
      g_searchCount = 0;
      g_displayedState = 0;
    }
    return outcome;
  }
  if (r.printerStatus == kPrinterStatusPaused) {  // P
    e.Apply(1);
    return outcome;
  }

  const bool lpt = r.portType == "LPT";
  const std::int32_t j = r.jobStatus;
  const std::int32_t s = r.lptStatus;
  const bool noJob = j == -1;

  if (j == 0x2010 && lpt && s == 3) { e.Apply(3001); return outcome; }          // 1
  if (j == 0x2010 && lpt && s == 4) { e.Apply(4001); return outcome; }          // 2
  if (j == 0x2010 && lpt && s == 1) {                                           // 3
    e.CountFault(g_faultCountPrinting, 5, 1001);
    return outcome;
  }
  if (j == 0x2010) {                                                            // 4
    if (e.Apply(16)) {
      g_autoHideCount = 0;
      g_autoHideArmed = 1;
    }
    e.AutoHideStep();
    return outcome;
  }
  if (j == 0x12) { e.Apply(18); return outcome; }                               // 5
  if (noJob && lpt && s == 3) { e.Apply(3000); return outcome; }                // 6
  if (noJob && lpt && s == 4) { e.Apply(4000); return outcome; }                // 7
  if (noJob && lpt && (s == 1 || s == -1)) {                                    // 8
    e.CountFault(g_faultCountIdle, 8, 1000);
    return outcome;
  }
  if (j == 0x50 && lpt && s == 3) { e.Apply(3011); return outcome; }            // 9
  if (!noJob && lpt && s == 3) { e.Apply(3010); return outcome; }               // 10
  if (j == 0x30 && lpt && s == 4) { e.Apply(4011); return outcome; }            // 11
  if (!noJob && lpt && s == 4) { e.Apply(4010); return outcome; }               // 12
  if (!noJob && lpt && s == 1) {                                                // 13
    e.CountFault(g_faultCountJob, 5, 1010);
    return outcome;
  }
  if (r.portType == "USB" && !r.usbPresent) {                                   // 14
    if (e.Apply(20)) ResetFaultCounters();
    return outcome;
  }
  if (lpt && s == 2) {                                                          // 15
    if (e.Apply(2000)) {
      ResetFaultCounters();
      g_autoHideCount = 0;
      g_autoHideArmed = 1;
    }
    e.AutoHideStep();
    return outcome;
  }
  if (noJob) {                                                                  // 16
    if (e.Apply(-1)) ResetFaultCounters();
  }
  return outcome;
}

// --- the evaluation cycle on the window ---

void StatusWindow::ReadSpoolerStatus() {
  m_nJobStatus = -1;

  SpoolerReply reply = p_.spooler->GetPrinter2(m_hPrinter, nullptr, 0, nullptr);
  if (reply.ok || reply.error != win_error::kInsufficientBuffer) return;
  std::unique_ptr<std::uint8_t[]> printerBuffer(new (std::nothrow) std::uint8_t[reply.needed]);
  if (!printerBuffer) return;
  PrinterInfo2 printer;
  if (!p_.spooler->GetPrinter2(m_hPrinter, printerBuffer.get(), reply.needed, &printer).ok) {
    return;
  }

  std::vector<JobInfo2> jobs;
  reply = p_.spooler->EnumJobs2(m_hPrinter, 0, printer.cJobs, nullptr, 0, &jobs);
  if (!reply.ok) {
    // A queue with no jobs answers the size query with success and nothing to read.
    if (reply.error != win_error::kInsufficientBuffer) return;
    std::unique_ptr<std::uint8_t[]> jobBuffer(new (std::nothrow) std::uint8_t[reply.needed]());
    if (!jobBuffer) return;
    jobs.clear();
    if (!p_.spooler->EnumJobs2(m_hPrinter, 0, printer.cJobs, jobBuffer.get(), reply.needed, &jobs)
             .ok) {
      return;
    }
  }

  m_nPrinterStatus = printer.status;
  if (m_nPrinterStatus & kPrinterStatusStopsJobScan) return;
  std::vector<std::uint32_t> statuses;
  statuses.reserve(jobs.size());
  for (const JobInfo2& job : jobs) statuses.push_back(job.status);
  m_nJobStatus = SelectJobStatus(statuses);
}

void StatusWindow::OnStatusMessage() {
  // Without an open queue there is nothing to evaluate: a message still queued from a poller
  // that has been asked to stop (failed restart, exit) must not replace the window's texts.
  if (m_hPrinter == kNoHandle) return;
  if (PortChanged()) {
    RestartMonitoring();
    return;
  }
  ReadSpoolerStatus();

  const EvaluationOutcome outcome = EvaluateStatus(
      StatusReadings{m_nJobStatus, m_nPrinterStatus, m_strPortType, m_nLptStatus, UsbPresent});
  if (outcome.searching) {
    m_strAdvice = kSearchingAdvice;
    SetHeading("Searching");
    SetAnimation(0);
  }
  if (const DisplayState* state = FindDisplayState(outcome.appliedState);
      state != nullptr && outcome.appliedState != 0) {
    if (state->bringsWindowUp) RevealWindow();
    m_strAdvice = state->advice;
    SetHeading(state->heading);
    SetAnimation(state->picture == Picture::kError ? kIdErrorAnimation : kIdInformationAnimation);
  }
  if (outcome.autoHide) AutoHideWindow();
  PushAdvice();
}
