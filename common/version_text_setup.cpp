#include "model_table.h"

const char* const VersionText = "Version 2.01 (9W)";
