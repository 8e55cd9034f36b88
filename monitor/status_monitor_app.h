// CStatusMonitorApp: the status monitor's application object.
//
// InitInstance runs the program's start-up (RunMonitorInstance): a second monitor of the same
// model ends at once; otherwise the status window runs modally for the life of the process.
// It always returns false, so the program ends when the status window has ended.
#pragma once

#include "framework/app.h"

class CStatusMonitorApp : public CWinApp {
 public:
  BOOL InitInstance() override;
};
