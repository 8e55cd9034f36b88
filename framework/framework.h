// The whole framework in one include.
#pragma once

#include "framework/app.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/menu.h"
#include "framework/thread.h"
#include "framework/wnd.h"
