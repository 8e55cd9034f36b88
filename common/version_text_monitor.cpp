#include "model_table.h"

const char* const VersionText = "Ver 2.01 (9W)";
