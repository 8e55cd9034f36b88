#include "monitor/status_animation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "monitor/monitor_state.h"
#include "monitor/status_window.h"
#include "tests/unit/fakes.h"

namespace {

class StatusAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMonitorProcessState();
    resources.Add("ANICURSORS", kIdErrorAnimation, std::vector<std::uint8_t>(4642, 0xE1));
    resources.Add("ANICURSORS", kIdInformationAnimation, std::vector<std::uint8_t>(4638, 0x1F));
    resources.Add("BIN", 167, std::vector<std::uint8_t>(10, 0));
  }
  fakes::FakeResources resources;
  fakes::FakeImages images;
};

TEST_F(StatusAnimationTest, ResourceBecomesAnAnimatedCursor) {
  for (std::uint32_t id : {kIdErrorAnimation, kIdInformationAnimation}) {
    fakes::FakeImages im;
    const ImageHandle h = LoadStatusAnimation(resources, im, id);
    ASSERT_EQ(im.creates.size(), 1u) << id;
    const auto& bytes = resources.resources.at({"ANICURSORS", id});
    EXPECT_EQ(im.creates[0].bits, bytes.data()) << id;
    EXPECT_EQ(im.creates[0].size, bytes.size()) << id;
    EXPECT_FALSE(im.creates[0].isIcon) << id;
    EXPECT_EQ(im.creates[0].version, 0x00030000u) << id;
    EXPECT_NE(h, kNoHandle) << id;
    EXPECT_EQ(h, im.creates[0].result) << id;
  }
  EXPECT_EQ(resources.finds.back().type, "ANICURSORS");
}

TEST_F(StatusAnimationTest, MissingResourceGivesNoHandle) {
  for (std::uint32_t id : {0u, 164u, 167u}) {
    EXPECT_EQ(LoadStatusAnimation(resources, images, id), kNoHandle) << id;
  }
  EXPECT_TRUE(images.creates.empty());
}

TEST_F(StatusAnimationTest, ImageThatCannotBeMadeGivesNoHandle) {
  images.createFails = true;
  EXPECT_EQ(LoadStatusAnimation(resources, images, kIdErrorAnimation), kNoHandle);
}

// --- the animation files the resources are built from ----------------------------------------

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | std::uint32_t{b.at(at + 3)} << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
std::string Tag(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

std::vector<std::uint8_t> ReadResourceFile(const std::string& name) {
  std::string root = __FILE__;
  root.resize(root.size() - std::string("tests/unit/status_animation_test.cpp").size());
  std::ifstream in(root + "monitor/res/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct AnimatedCursor {
  std::uint32_t frames = 0, steps = 0, rate = 0, flags = 0;
  std::vector<std::vector<std::uint8_t>> icons;
};

AnimatedCursor Parse(const std::vector<std::uint8_t>& b) {
  AnimatedCursor a;
  EXPECT_EQ(Tag(b, 0), "RIFF");
  EXPECT_EQ(U32(b, 4) + 8, b.size());
  EXPECT_EQ(Tag(b, 8), "ACON");
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id = Tag(b, at);
    const std::uint32_t size = U32(b, at + 4);
    if (id == "anih") {
      EXPECT_EQ(size, 36u);
      EXPECT_EQ(U32(b, at + 8), 36u);
      a.frames = U32(b, at + 12);
      a.steps = U32(b, at + 16);
      EXPECT_EQ(U32(b, at + 32), 1u);  // planes
      a.rate = U32(b, at + 36);
      a.flags = U32(b, at + 40);
    } else if (id == "LIST" && Tag(b, at + 8) == "fram") {
      for (std::size_t f = at + 12; f + 8 <= at + 8 + size;) {
        EXPECT_EQ(Tag(b, f), "icon");
        const std::uint32_t n = U32(b, f + 4);
        a.icons.emplace_back(b.begin() + static_cast<long>(f + 8),
                             b.begin() + static_cast<long>(f + 8 + n));
        f += 8 + n + (n & 1);
      }
    }
    at += 8 + size + (size & 1);
  }
  return a;
}

TEST(StatusAnimationFiles, TwoFramesOf32By32At200Milliseconds) {
  for (const char* name : {"error.ani", "info.ani"}) {
    const auto bytes = ReadResourceFile(name);
    ASSERT_FALSE(bytes.empty()) << name;
    const AnimatedCursor a = Parse(bytes);
    EXPECT_EQ(a.frames, 2u) << name;
    EXPECT_EQ(a.steps, 2u) << name;
    EXPECT_EQ(a.rate, 12u) << name;  // jiffies of 1/60 s
    EXPECT_EQ(a.flags, 1u) << name;  // icon-format frames, no sequence
    ASSERT_EQ(a.icons.size(), 2u) << name;
    for (const auto& icon : a.icons) {
      EXPECT_EQ(U16(icon, 2), 2u) << name;      // a cursor file
      EXPECT_EQ(U16(icon, 4), 1u) << name;      // of one image
      EXPECT_EQ(icon.at(6), 32u) << name;       // 32 x 32
      EXPECT_EQ(icon.at(7), 32u) << name;
      EXPECT_EQ(U16(icon, 10), 0u) << name;     // hot spot (0, 0)
      EXPECT_EQ(U16(icon, 12), 0u) << name;
      const std::uint32_t image = U32(icon, 18);
      EXPECT_EQ(U16(icon, image + 14), 8u) << name;  // 256 colours
    }
    EXPECT_NE(a.icons[0], a.icons[1]) << name << ": the frames must differ";
  }
}

}  // namespace
