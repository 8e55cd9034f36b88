// The status decision: from the spooler's and the port's readings and a small memory kept
// between evaluations, pick the display state of the status window.
//
// EvaluateStatus is a pure function of its inputs and the memory; StatusWindow::OnStatusMessage
// gathers the readings and applies the result to the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Parallel-port status byte -> -1 (no valid reading), 1 communication fault, 2 ready,
// 3 paper out, 4 off line.
std::int32_t DecodeLptStatus(std::uint8_t statusByte);

// Spooler masks.
constexpr std::uint32_t kPrinterStatusPaused = 0x1;
constexpr std::uint32_t kPrinterStatusStopsJobScan = 0x6418DB;
constexpr std::uint32_t kJobStatusPrinting = 0x10;
constexpr std::uint32_t kJobStatusEndsJobScan = 0x242;

// Memory kept between evaluations; process-wide, 0 at program start.
extern int g_displayedState;
extern int g_searchCount;
extern int g_autoHideArmed;
extern int g_autoHideCount;
extern int g_faultCountPrinting;
extern int g_faultCountIdle;
extern int g_faultCountJob;

struct StatusReadings {
  std::int32_t jobStatus = -1;        // m_nJobStatus
  std::uint32_t printerStatus = 0;    // m_nPrinterStatus
  std::string portType;               // m_strPortType
  std::int32_t lptStatus = -1;        // m_nLptStatus
  bool usbPresent = false;            // UsbPresent
};

enum class Picture { kNone, kError, kInformation };

struct DisplayState {
  int code;
  const char* heading;
  std::string advice;
  Picture picture;
  bool bringsWindowUp;
};
// The display state of a code, or nullptr for an unknown code.
const DisplayState* FindDisplayState(int code);

struct EvaluationOutcome {
  bool searching = false;   // show the searching display (heading, advice, no picture)
  int appliedState = 0;     // the state to put on the window this time, 0 for none
  bool autoHide = false;    // hide the window now (AutoHideWindow)
};

// One evaluation's decision. Reads and updates g_searching and the memory above.
EvaluationOutcome EvaluateStatus(const StatusReadings& readings);

// The status of the job the rules look at: the first printing job with an error bit, else the
// last printing job, else -1.
std::int32_t SelectJobStatus(const std::vector<std::uint32_t>& jobStatuses);
