// A transport for the link tests: it plays the interface module in memory. Each part of the
// platform can be made to fail, every call is recorded, and the module's answer to each send
// can be scripted; by default it answers the block from an image of the interface offsets.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "simlink/link_block.h"
#include "simlink/link_client.h"
#include "simlink/link_module.h"
#include "simlink/link_transport.h"

namespace orv::testing {

struct Fake_Transport final : Link_Transport {
  // What the platform gives.
  bool has_main_class = true;
  bool has_fallback_class = false;
  uint32_t message = 0xC0F1;
  uint16_t atom = 0xC001;
  Link_Mapping mapping{0x77, false};
  bool view_fails = false;
  uint32_t process_id = 0x1A2B;
  // Whether the module's window is there; unset: always.
  std::function<bool()> alive;
  // The module's answer to send number `attempt` (counted from 0 over the whole test); the
  // default answers the block from `image` and replies 1.
  std::function<Link_Send_Result(std::span<uint8_t> block, int attempt)> module;

  std::vector<uint8_t> block = std::vector<uint8_t>(LINK_BLOCK_SIZE, 0);
  std::vector<uint8_t> image = std::vector<uint8_t>(MODULE_IMAGE_SIZE, 0);

  // What the link did.
  std::vector<std::string> classes_looked_for;
  std::vector<uintptr_t> released_windows;
  std::string atom_text;
  std::string mapping_name;
  std::vector<uint16_t> deleted_atoms;
  std::vector<uintptr_t> closed_mappings;
  int views_unmapped = 0;
  int sends = 0;
  std::vector<std::vector<uint8_t>> sent_blocks;  // the block as each send found it
  std::vector<uint32_t> send_timeouts;

  static constexpr uintptr_t kMainWindow = 0x1001;
  static constexpr uintptr_t kFallbackWindow = 0x1002;

  Link_Send_Result Answer_From_Image(std::span<uint8_t> b) {
    const bool ended = Answer_Block(b, image) == Module_Walk::ended;
    return {true, ended ? 1u : 0u, 0};
  }

  uintptr_t Find_Window(const char* class_name) override {
    classes_looked_for.emplace_back(class_name);
    if (alive && !alive()) return 0;
    if (classes_looked_for.back() == LINK_CLASS_MAIN) return has_main_class ? kMainWindow : 0;
    if (classes_looked_for.back() == LINK_CLASS_FALLBACK) {
      return has_fallback_class ? kFallbackWindow : 0;
    }
    return 0;
  }
  void Release_Window(uintptr_t window) override { released_windows.push_back(window); }
  uint32_t Register_Message(const char*) override { return message; }
  uint16_t Add_Atom(const char* text) override {
    atom_text = text;
    return atom;
  }
  void Delete_Atom(uint16_t a) override { deleted_atoms.push_back(a); }
  Link_Mapping Create_Mapping(const char* name, uint32_t) override {
    mapping_name = name;
    return mapping;
  }
  uint8_t* Map_View(uintptr_t, uint32_t) override { return view_fails ? nullptr : block.data(); }
  void Unmap_View(uint8_t*, uint32_t) override { ++views_unmapped; }
  void Close_Mapping(uintptr_t m) override { closed_mappings.push_back(m); }
  Link_Send_Result Send_Message(uintptr_t, uint32_t, int32_t, int32_t,
                                uint32_t timeout_ms) override {
    sent_blocks.push_back(block);
    send_timeouts.push_back(timeout_ms);
    const int attempt = sends++;
    return module ? module(block, attempt) : Answer_From_Image(block);
  }
  uint32_t Process_Id() override { return process_id; }
  bool Window_Alive(uintptr_t window) override { return alive ? alive() : window != 0; }
};

// A closed link over a fake module that reports interface version 0x19980005 and FS2002, with
// a sleeper that only records the waits.
class Fake_Link {
 public:
  Fake_Link() {
    auto t = std::make_unique<Fake_Transport>();
    fake = t.get();
    link.transport = std::move(t);
    link.sleep = [this](uint32_t ms) { sleeps.push_back(ms); };
    Link_Init(link);
    Image_Put(fake->image, LINK_OFS_IFACE_VERSION, 0x19980005, 4);
    Image_Put(fake->image, LINK_OFS_SIM_VERSION, 0xFADE0006, 4);
  }
  Fake_Link(const Fake_Link&) = delete;
  Fake_Link& operator=(const Fake_Link&) = delete;

  // Opens the link for FS2002 and forgets what the open did.
  bool Open() {
    int32_t result = -1;
    const bool ok = Link_Open(link, 6, result);
    sleeps.clear();
    fake->sends = 0;
    fake->sent_blocks.clear();
    fake->send_timeouts.clear();
    return ok && result == LINK_OK;
  }

  Link_State link;
  Fake_Transport* fake = nullptr;
  std::vector<uint32_t> sleeps;
};

// A module that cannot even be looked for: the platform fails in a way no result code covers.
struct Throwing_Transport final : Link_Transport {
  uintptr_t Find_Window(const char*) override { throw std::runtime_error("no window calls"); }
  void Release_Window(uintptr_t) override {}
  uint32_t Register_Message(const char*) override { return 0; }
  uint16_t Add_Atom(const char*) override { return 0; }
  void Delete_Atom(uint16_t) override {}
  Link_Mapping Create_Mapping(const char*, uint32_t) override { return {}; }
  uint8_t* Map_View(uintptr_t, uint32_t) override { return nullptr; }
  void Unmap_View(uint8_t*, uint32_t) override {}
  void Close_Mapping(uintptr_t) override {}
  Link_Send_Result Send_Message(uintptr_t, uint32_t, int32_t, int32_t, uint32_t) override {
    return {};
  }
  uint32_t Process_Id() override { return 1; }
};

}  // namespace orv::testing
