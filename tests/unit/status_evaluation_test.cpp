#include "monitor/status_evaluation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/model_table.h"
#include "monitor/monitor_state.h"

namespace {

StatusReadings Lpt(std::int32_t lpt, std::int32_t job = -1) { return {job, 0, "LPT", lpt, false}; }
StatusReadings Port(const std::string& type, std::int32_t job = -1, bool usb = false) {
  return {job, 0, type, -1, usb};
}

class StatusEvaluation : public ::testing::Test {
 protected:
  void SetUp() override { ResetMonitorProcessState(); }

  // The states applied over n evaluations of the same readings (0 where none was applied).
  std::vector<int> Applied(const StatusReadings& r, int n) {
    std::vector<int> applied;
    for (int i = 0; i < n; ++i) applied.push_back(Step(r).appliedState);
    return applied;
  }
  EvaluationOutcome Step(const StatusReadings& r) {
    EvaluationOutcome o = EvaluateStatus(r);
    if (o.autoHide) hides.push_back(++evaluations);
    else ++evaluations;
    return o;
  }
  int evaluations = 0;
  std::vector<int> hides;  // evaluation numbers (1-based) that auto-hid the window
};

}  // namespace

TEST(DecodeLptStatus, DecidingBitsGiveTheCodes) {
  struct Case { std::uint8_t byte; std::int32_t code; };
  const Case cases[] = {
      {0xD8, 2},  {0x98, 2},  {0xDF, 2},   // ready: bits 7, 4, 3; bit 6 and bits 0-2 ignored
      {0x20, 3},  {0x67, 3},               // paper out
      {0x08, 4},  {0x4F, 4},               // off line
      {0x78, 1},  {0x80, 1},  {0xC7, 1},   // communication faults
      {0x00, -1}, {0xF8, -1}, {0xA8, -1}, {0x18, -1}, {0x30, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeLptStatus(c.byte), c.code) << std::hex << +c.byte;
}

TEST(SelectJobStatus, FirstPrintingJobWithAnErrorElseTheLastPrintingJob) {
  EXPECT_EQ(SelectJobStatus({}), -1);
  EXPECT_EQ(SelectJobStatus({0x0, 0x8, 0x40}), -1) << "no job is printing";
  EXPECT_EQ(SelectJobStatus({0x10, 0x2010}), 0x2010) << "last printing job";
  EXPECT_EQ(SelectJobStatus({0x2010, 0x12, 0x50}), 0x12) << "first printing job with error bit";
  EXPECT_EQ(SelectJobStatus({0x2010, 0x210, 0x12}), 0x210) << "blocked counts as error";
}

TEST(DisplayStates, TextsAndWhetherTheyBringTheWindowUp) {
  const DisplayState* paused = FindDisplayState(1);
  ASSERT_NE(paused, nullptr);
  EXPECT_EQ(paused->advice, std::string("\"Pause Printing\" is selected in ") +
                                PrinterName[kModelRow] +
                                " driver.\nGoto \"Printer and Faxes\" folder, right click and "
                                "choose \"Resume Printing\"");
  EXPECT_TRUE(paused->bringsWindowUp);
  EXPECT_EQ(FindDisplayState(2000)->advice, "Ready to print.\n(Window will minimize in 2sec...)");
  EXPECT_EQ(FindDisplayState(-1)->advice, "Ready to print.");
  EXPECT_EQ(FindDisplayState(18)->advice.find('\n'), std::string::npos);
  EXPECT_NE(FindDisplayState(1000)->advice.find("ON.\nIf"), std::string::npos);
  EXPECT_EQ(FindDisplayState(0), nullptr);
  const int up[] = {1, 18, 1001, 3001, 3011, 4001, 4011};
  const int quiet[] = {16, 20, 1000, 1010, 2000, -1, 3000, 3010, 4000, 4010};
  for (int code : up) EXPECT_TRUE(FindDisplayState(code)->bringsWindowUp) << code;
  for (int code : quiet) EXPECT_FALSE(FindDisplayState(code)->bringsWindowUp) << code;
  for (int code : {16, 2000, -1}) EXPECT_EQ(FindDisplayState(code)->picture, Picture::kInformation);
  EXPECT_STREQ(FindDisplayState(4010)->heading, "Printer OFFLINE Error");
  EXPECT_STREQ(FindDisplayState(3011)->heading, "Paper-Out Error");
}

TEST_F(StatusEvaluation, FirstMatchingRuleOnFreshMemory) {
  struct Case { const char* name; StatusReadings r; int state; };
  const Case cases[] = {
      {"paused", {-1, 0x1, "LPT", 2, false}, 1},
      {"paused with another bit is not rule P", {-1, 0x81, "FILE:", -1, false}, -1},
      {"paper out while printing", Lpt(3, 0x2010), 3001},
      {"off line while printing", Lpt(4, 0x2010), 4001},
      {"printing on a ready port", Lpt(2, 0x2010), 16},
      {"printing on USB", Port("USB", 0x2010, true), 16},
      {"printing + error, any port", Port("COM", 0x12), 18},
      {"paper out idle", Lpt(3), 3000},
      {"off line idle", Lpt(4), 4000},
      {"paper out job", Lpt(3, 0x50), 3011},
      {"other job on paper out", Lpt(3, 0x10), 3010},
      {"off line job", Lpt(4, 0x30), 4011},
      {"other job off line", Lpt(4, 0x10), 4010},
      {"USB unplugged", Port("USB"), 20},
      {"USB unplugged while printing other job", Port("USB", 0x10), 20},
      {"ready idle", Lpt(2), 2000},
      {"printing, not retained, on ready port", Lpt(2, 0x10), 2000},
      {"USB plugged in", Port("USB", -1, true), -1},
      {"file port", Port("FILE:"), -1},
      {"COM port job not printing retained", Port("COM", 0x10), 0},
  };
  for (const Case& c : cases) {
    ResetMonitorProcessState();
    EXPECT_EQ(EvaluateStatus(c.r).appliedState, c.state) << c.name;
  }
}

TEST_F(StatusEvaluation, SteadyStateIsAppliedOnceAndReadyHidesOnTheFourthEvaluation) {
  EXPECT_EQ(Applied(Lpt(2), 6), (std::vector<int>{2000, 0, 0, 0, 0, 0}));
  EXPECT_EQ(hides, std::vector<int>{4}) << "hidden once, on the fourth evaluation";
}

TEST_F(StatusEvaluation, PrintingAutoHidesAndReArmsWhenReapplied) {
  EXPECT_EQ(Applied(Lpt(2, 0x2010), 5), (std::vector<int>{16, 0, 0, 0, 0}));
  EXPECT_EQ(hides, std::vector<int>{4});
  EXPECT_EQ(Applied(Lpt(2), 4), (std::vector<int>{2000, 0, 0, 0}));
  EXPECT_EQ(hides, (std::vector<int>{4, 9}));
}

TEST_F(StatusEvaluation, IdleCommunicationFaultIsDebouncedOverEightEvaluations) {
  // Decoded -1 (no reading) counts like a decoded fault.
  std::vector<int> expected(17, 0);
  expected[7] = 1000;
  std::vector<int> got = Applied(Lpt(-1), 4);
  const std::vector<int> rest = Applied(Lpt(1), 13);
  got.insert(got.end(), rest.begin(), rest.end());
  EXPECT_EQ(got, expected) << "applied on the 8th, then kept without flicker";
  // The counter stood at its limit with the state displayed and passed it on the 17th.
  EXPECT_EQ(g_faultCountIdle, 0);
}

TEST_F(StatusEvaluation, FaultCounterContinuesWhenTheFaultReturnsAndReadyResetsIt) {
  Applied(Lpt(1), 5);
  EXPECT_EQ(Applied(Lpt(3), 1), std::vector<int>{3000});
  EXPECT_EQ(Applied(Lpt(1), 3), (std::vector<int>{0, 0, 1000})) << "5 + 3 = 8";

  ResetMonitorProcessState();
  Applied(Lpt(1), 7);
  EXPECT_EQ(Applied(Lpt(2), 1), std::vector<int>{2000});
  EXPECT_EQ(Applied(Lpt(1), 8), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1000}));
}

TEST_F(StatusEvaluation, PrintingAndJobFaultsAreDebouncedOverFiveEvaluations) {
  EXPECT_EQ(Applied(Lpt(1, 0x2010), 6), (std::vector<int>{0, 0, 0, 0, 1001, 0}));
  ResetMonitorProcessState();
  EXPECT_EQ(Applied(Lpt(1, 0x10), 5), (std::vector<int>{0, 0, 0, 0, 1010}));
}

TEST_F(StatusEvaluation, SearchingLastsThreeEvaluationsThenTheStateIsAppliedAgain) {
  Applied(Lpt(3), 1);
  g_searching = 1;
  for (int i = 0; i < 3; ++i) {
    const EvaluationOutcome o = EvaluateStatus(Lpt(3));
    EXPECT_TRUE(o.searching) << i;
    EXPECT_EQ(o.appliedState, 0) << i;
  }
  EXPECT_EQ(g_searching, 0);
  const EvaluationOutcome after = EvaluateStatus(Lpt(3));
  EXPECT_FALSE(after.searching);
  EXPECT_EQ(after.appliedState, 3000) << "the same state is applied again";
}

TEST_F(StatusEvaluation, UsbPlugAndUnplug) {
  EXPECT_EQ(Applied(Port("USB"), 2), (std::vector<int>{20, 0}));
  EXPECT_EQ(Applied(Port("USB", -1, true), 5), (std::vector<int>{-1, 0, 0, 0, 0}));
  EXPECT_TRUE(hides.empty()) << "state -1 does not auto-hide";
  EXPECT_EQ(Applied(Port("USB"), 1), std::vector<int>{20});
}
