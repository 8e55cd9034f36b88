// The animated status pictures, made from the program's own "ANICURSORS" resources.
#include "monitor/status_animation.h"

ImageHandle LoadStatusAnimation(IResources& resources, IImages& images, std::uint32_t id) {
  const ResourceBytes animation = resources.Find(kAnimationResourceType, id);
  if (animation.data == nullptr) return kNoHandle;
  // As a cursor, not an icon: the platform then recognises the RIFF "ACON" file and makes an
  // animated cursor of it.
  return images.CreateFromResource(animation.data, animation.size, false, kCursorFormatVersion);
}
