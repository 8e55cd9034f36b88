// Printing tips of the status window's "Tip of the day" box. Independent of the model row.
#pragma once

constexpr int kPrintingTipCount = 11;
extern const char* const PrintingTips[kPrintingTipCount];

// Index of the next tip to show. 0 at program start, held in memory only; the status window
// shows PrintingTips[g_tipIndex] and then increments it (and wraps it on the show command).
extern int g_tipIndex;
