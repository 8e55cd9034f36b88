#include "monitor/status_animation.h"

ImageHandle LoadStatusAnimation(IResources&, IImages&, std::uint32_t) { return kNoHandle; }
