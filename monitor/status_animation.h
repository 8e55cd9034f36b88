// The animated status pictures: resources 165 (error) and 166 (information) of type
// "ANICURSORS", each a complete animated cursor file (RIFF "ACON").
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/shell.h"

constexpr const char* kAnimationResourceType = "ANICURSORS";
constexpr std::uint32_t kCursorFormatVersion = 0x00030000;

// An animated cursor made from the resource, or kNoHandle when the resource is missing.
ImageHandle LoadStatusAnimation(IResources& resources, IImages& images, std::uint32_t id);
