#include "printing_tips.h"

// Tips 5 and 6 hold the en dash of code page 1252 (byte 0x96).
const char* const PrintingTips[kPrintingTipCount] = {
    "In case of \"Printer Fonts\" set font size as 10 for better throughput and speed.",
    "Ensure same \"Page Size\" setting is selected in application (like MS-Word) and also in "
    "printer driver.",
    "For multicopy stationery use Copy Mode setting as Enabled for good quality printing.",
    "In case of power failure or the printer is switched OFF while printing, cancel the previous "
    "print job and clear the printer buffer memory.",
    "If the printer is printing slow, try Bidirectional setting in Printer Menu mode.",
    "Caution \x96 Do not rotate the platen knob while printer is switched ON.",
    "Caution \x96 Do not connect the parallel port cable while the printer is switched ON.",
    "Garbage printing indicates a faulty cable or loose connection. Switch OFF the printer, "
    "disconnect and reconnect the cable in printer and computer.",
    "PRINT LED will blink when there is no paper in the printer.",
    "If you are replacing a ribbon be sure the printer is switched OFF.",
    "Use Veltro Ink bank to recharge your ribbon cassette.",
};

int g_tipIndex = 0;
