// The link end to end over the window messages, against the stand-in simulator window
// (tools/win_sim_window.exe) started as its own process.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "simlink/link_client.h"
#include "simlink/link_transport.h"
#include "simlink/win_sim_running.h"

namespace orv {
namespace {

Link_State New_Link() {
  Link_State link;
  Link_Init(link);
  link.transport = Make_Platform_Transport();
  return link;
}

int64_t High_Half(uint64_t fixed) {
  return static_cast<int32_t>(static_cast<uint32_t>(fixed >> 32));
}

TEST(Win32Link, OpensReadsTheAircraftAndCloses) {
  START_SIM(sim, "--fixed 47.5,-122.25,90 --pressure 16210");
  Link_State link = New_Link();
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(link, 6, result)) << Link_Result_Name(result);
  EXPECT_EQ(result, LINK_OK);
  EXPECT_EQ(link.link_iface_version, 0x19980005);
  EXPECT_EQ(link.link_sim_version, 6);
  EXPECT_NE(link.link_hwnd, 0u);
  EXPECT_NE(link.link_msg, 0u);
  // A global atom lies in 0xC000-0xFFFF and is kept sign-extended.
  EXPECT_LT(link.link_atom, 0);
  EXPECT_GE(link.link_atom, -0x4000);

  uint64_t lat = 0;
  uint64_t lon = 0;
  uint32_t hdg = 0;
  uint16_t pressure = 0;
  ASSERT_TRUE(Link_Read(link, 0x0560, 8, &lat, result));
  ASSERT_TRUE(Link_Read(link, 0x0568, 8, &lon, result));
  ASSERT_TRUE(Link_Read(link, 0x0580, 4, &hdg, result));
  ASSERT_TRUE(Link_Read(link, 0x0EC6, 2, &pressure, result));
  ASSERT_TRUE(Link_Process(link, result)) << Link_Result_Name(result);
  EXPECT_NEAR(static_cast<double>(High_Half(lat)) * 90.0 / 10001750.0, 47.5, 1e-5);
  EXPECT_NEAR(static_cast<double>(High_Half(lon)) * 360.0 / 4294967296.0, -122.25, 1e-6);
  EXPECT_EQ(hdg, 0x40000000u);  // a quarter turn
  EXPECT_EQ(pressure, 16210);

  // A second round on the same block.
  uint16_t again = 0;
  ASSERT_TRUE(Link_Read(link, 0x0EC6, 2, &again, result));
  ASSERT_TRUE(Link_Process(link, result));
  EXPECT_EQ(again, 16210);

  Link_Close(link);
  EXPECT_EQ(link.link_view, nullptr);
  EXPECT_EQ(link.link_map, 0u);
  EXPECT_EQ(link.link_atom, 0);
  // Everything was let go: the same block name can be made again.
  ASSERT_TRUE(Link_Open(link, 6, result)) << Link_Result_Name(result);
  Link_Close(link);
}

TEST(Win32Link, ReportsTheModulesRefusals) {
  {
    START_SIM(sim, "--sim-code 7");
    Link_State link = New_Link();
    int32_t result = -1;
    EXPECT_FALSE(Link_Open(link, 6, result));
    EXPECT_EQ(result, LINK_WRONG_SIM);
    EXPECT_EQ(link.link_view, nullptr);
    // Any simulator will do with code 0.
    EXPECT_TRUE(Link_Open(link, 0, result)) << Link_Result_Name(result);
    EXPECT_EQ(link.link_sim_version, 7);
    Link_Close(link);
  }
  {
    // Found only by the simulator's own class, with no module answering properly yet.
    START_SIM(sim, "--class FS98MAIN --iface-version 0x19980004");
    Link_State link = New_Link();
    int32_t result = -1;
    EXPECT_FALSE(Link_Open(link, 6, result));
    EXPECT_EQ(result, LINK_NOT_READY);
  }
  {
    START_SIM(sim, "--reply 0");
    Link_State link = New_Link();
    link.sleep = nullptr;
    int32_t result = -1;
    EXPECT_FALSE(Link_Open(link, 6, result));
    EXPECT_EQ(result, LINK_BAD_REPLY);
    EXPECT_EQ(link.link_view, nullptr);
  }
}

TEST(Win32Link, NoWindowAndATakenBlockName) {
  Link_State link = New_Link();
  int32_t result = -1;
  if (FindWindowExA(nullptr, nullptr, LINK_CLASS_MAIN, nullptr) == nullptr &&
      FindWindowExA(nullptr, nullptr, LINK_CLASS_FALLBACK, nullptr) == nullptr) {
    EXPECT_FALSE(Link_Open(link, 6, result));
    EXPECT_EQ(result, LINK_NO_SIM_WINDOW);
  }

  START_SIM(sim, "");
  // Another mapping of the block's name already exists: the link must not share it.
  std::array<char, 32> name{};
  std::snprintf(name.data(), name.size(), "FSASMLIB:IPC:%lX:1", GetCurrentProcessId());
  const HANDLE taken =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0x8000, name.data());
  ASSERT_NE(taken, nullptr);
  EXPECT_FALSE(Link_Open(link, 6, result));
  EXPECT_EQ(result, LINK_MAPPING_FAILED);
  EXPECT_EQ(link.link_map, 0u);
  EXPECT_EQ(link.link_atom, 0);
  CloseHandle(taken);
  EXPECT_TRUE(Link_Open(link, 6, result)) << Link_Result_Name(result);
  Link_Close(link);
}

TEST(Win32Link, AWindowThatNeverAnswersIsATimeout) {
  START_SIM(sim, "--hang");
  Link_State link = New_Link();
  link.sleep = nullptr;
  link.answer_timeout_ms = 50;
  int32_t result = -1;
  EXPECT_FALSE(Link_Open(link, 6, result));
  EXPECT_EQ(result, LINK_TIMEOUT) << Link_Result_Name(result);
  EXPECT_EQ(link.link_view, nullptr);
}

}  // namespace
}  // namespace orv
