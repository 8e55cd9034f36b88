// Resource ids of the idle baseline program.
#pragma once

#define IDD_IDLE_BASELINE 100
#define IDC_BASELINE_TEXT 1001
