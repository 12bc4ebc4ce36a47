// Faults while a build writes its three data files (disk full, a file that cannot be created or
// replaced, a working folder that is not a folder, the process killed between two writes): the
// next start finds a complete set, old or new, or none; never a mix that it would accept.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/program_state.h"
#include "data/data_file_check.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "scenery/database_build.h"
#include "startup/setup_check.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using testing::Temp_Dir;

struct Airport_Set {
  std::vector<std::string> idents;
  std::vector<std::string> spaces;
  bool operator==(const Airport_Set&) const = default;
};

// Two builds with the same counts, so that counts alone cannot tell their files apart.
const Airport_Set kOld = {{"AAA1", "AAA2"}, {"/sim/old.bgl"}};
const Airport_Set kNew = {{"BBB1", "BBB2"}, {"/sim/new.bgl"}};

void Fill(Program_State& st, const Airport_Set& set) {
  Release_To_Spare(st.airports);
  st.airport_count = 0;
  Release_To_Spare(st.airspace_files);
  st.airspace_file_count = 0;
  for (const std::string& ident : set.idents) {
    Append_With_Spare(st.airports, st.airport_count).ident = ident;
  }
  for (const std::string& file : set.spaces) {
    Append_With_Spare(st.airspace_files, st.airspace_file_count) = file;
  }
}

// The steps of a build's files in the order the build takes them; a failing step ends it.
enum Step { kWizard, kDatabase, kList, kCounts, kSteps };
const char* const kStepFile[kSteps] = {SETTINGS_FILE, DATABASE_FILE, AIRSPACE_LIST_FILE,
                                       SETTINGS_FILE};

// Runs the steps before `stop` (all when stop is kSteps); returns whether each that ran worked.
// `before` runs before each step.
std::vector<bool> Build_Files(const fs::path& work, const Airport_Set& set, int stop,
                              const std::function<void(int step)>& before = {}) {
  Program_State st;
  st.work_dir = work;
  std::vector<bool> ok;
  for (int step = 0; step < stop; ++step) {
    if (before) before(step);
    Write_Result r;
    switch (step) {
      case kWizard:
        r = Write_Wizard_Settings(st, "/sim");
        Fill(st, set);
        break;
      case kDatabase:
        r = Write_Airport_File(st);
        break;
      case kList:
        r = Write_Airspace_List(st);
        break;
      case kCounts: {
        // A settings file that is gone is a failure too: the counts were not saved.
        const Settings_Update update = Update_Settings_Counts(st);
        r = update.result;
        if (r.ok && !update.file_found) r = {false, "settings file gone"};
        break;
      }
    }
    ok.push_back(r.ok);
    if (!r.ok) {
      EXPECT_FALSE(r.error.empty()) << "a failed write says why";
      break;
    }
  }
  return ok;
}

// What the next start accepts: a loaded set, or nothing.
std::optional<Airport_Set> Next_Start(const fs::path& work) {
  Program_State st;
  st.work_dir = work;
  if (Check_Data_Files(st) != Start_Decision::normal_run) return std::nullopt;
  if (Load_Database(st).status != Database_Status::ok) {
    Remove_Data_Files(st);
    return std::nullopt;
  }
  Airport_Set set;
  for (int32_t i = 0; i < st.airport_count; ++i) set.idents.push_back(st.airports[size_t(i)].ident);
  for (int32_t i = 0; i < st.airspace_file_count; ++i) {
    set.spaces.push_back(st.airspace_files[size_t(i)]);
  }
  return set;
}

void Expect_Whole_Set_Or_None(const fs::path& work, const std::string& what,
                              const Airport_Set& new_set = kNew) {
  const std::optional<Airport_Set> set = Next_Start(work);
  if (set) {
    EXPECT_TRUE(*set == kOld || *set == new_set) << what << ": a mixed set was accepted";
  }
  // No temporary is left behind.
  for (const char* name : DATA_FILES) {
    EXPECT_FALSE(fs::exists(work / (std::string(name) + ".tmp"))) << what << ": " << name;
  }
}

TEST(Safe_Writes, Killed_After_Any_Step_Leaves_A_Whole_Set_Or_None) {
  for (int stop = 0; stop <= kSteps; ++stop) {
    Temp_Dir dir;
    ASSERT_EQ(Build_Files(dir.path(), kOld, kSteps), std::vector<bool>(kSteps, true));
    ASSERT_EQ(Next_Start(dir.path()), kOld);
    Build_Files(dir.path(), kNew, stop);
    Expect_Whole_Set_Or_None(dir.path(), "killed before step " + std::to_string(stop));
    if (stop == kSteps) {
      EXPECT_EQ(Next_Start(dir.path()), kNew);
    }
  }
}

// The faults a step's file can meet, made at the file's temporary name or at the file itself.
enum class Fault { disk_full, cannot_create, cannot_replace };

void Make_Fault(const fs::path& file, Fault fault) {
  fs::path temp = file;
  temp += ".tmp";
  switch (fault) {
    case Fault::disk_full:  // every write fails with "no space left on device"
      fs::create_symlink("/dev/full", temp);
      break;
    case Fault::cannot_create:
      fs::create_directories(temp / "x");
      break;
    case Fault::cannot_replace:  // a folder that a file cannot be renamed over
      fs::remove(file);
      fs::create_directories(file / "x");
      break;
  }
}

void Clear_Fault(const fs::path& file, Fault fault) {
  fs::path temp = file;
  temp += ".tmp";
  if (fault == Fault::cannot_replace) {
    fs::remove_all(file);
  } else {
    fs::remove_all(temp);
  }
}

TEST(Safe_Writes, A_Failing_Write_At_Any_Step_Leaves_A_Whole_Set_Or_None) {
  for (const Fault fault : {Fault::disk_full, Fault::cannot_create, Fault::cannot_replace}) {
    for (int step = 0; step < kSteps; ++step) {
      const std::string what =
          "fault " + std::to_string(static_cast<int>(fault)) + " at step " + std::to_string(step);
      Temp_Dir dir;
      ASSERT_EQ(Build_Files(dir.path(), kOld, kSteps), std::vector<bool>(kSteps, true));
      // The steps before the fault work; the step that meets it fails and ends the build.
      const std::vector<bool> ok = Build_Files(dir.path(), kNew, kSteps, [&](int s) {
        if (s == step) Make_Fault(dir / kStepFile[step], fault);
      });
      std::vector<bool> expected(static_cast<size_t>(step) + 1, true);
      expected.back() = false;
      EXPECT_EQ(ok, expected) << what << ": a failed write reported as success";
      Clear_Fault(dir / kStepFile[step], fault);
      Expect_Whole_Set_Or_None(dir.path(), what);
    }
  }
}

TEST(Safe_Writes, A_Working_Folder_That_Is_A_File_Fails_Every_Write) {
  Temp_Dir dir;
  testing::Write_Text(dir / "plain", "not a folder");
  const fs::path work = dir / "plain" / "work";
  EXPECT_EQ(Build_Files(work, kNew, kSteps), std::vector<bool>{false});
  Program_State st;
  st.work_dir = work;
  Fill(st, kNew);
  EXPECT_FALSE(Write_Airport_File(st).ok);
  EXPECT_FALSE(Write_Airspace_List(st).ok);
  EXPECT_FALSE(Save_Settings(st).ok);
  EXPECT_EQ(Next_Start(work), std::nullopt);
  EXPECT_EQ(testing::Read_Bytes(dir / "plain").size(), 12u);
}

TEST(Safe_Writes, A_Read_Only_Working_Folder_Keeps_The_Old_Set) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; covered by the faults";
  Temp_Dir dir;
  ASSERT_EQ(Build_Files(dir.path(), kOld, kSteps), std::vector<bool>(kSteps, true));
  fs::permissions(dir.path(),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(Build_Files(dir.path(), kNew, kSteps).back());
  fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Next_Start(dir.path()), kOld);
}

// A small file system that fills up half-way through the database file.
class Small_Fs {
 public:
  explicit Small_Fs(const fs::path& at) : at_(at) {
    fs::create_directories(at);
    mounted_ = mount("tmpfs", at.c_str(), "tmpfs", 0, "size=256k") == 0;
  }
  ~Small_Fs() {
    if (mounted_) umount(at_.c_str());
  }
  Small_Fs(const Small_Fs&) = delete;
  Small_Fs& operator=(const Small_Fs&) = delete;
  bool mounted() const { return mounted_; }

 private:
  fs::path at_;
  bool mounted_ = false;
};

TEST(Safe_Writes, A_Full_File_System_Leaves_A_Whole_Set_Or_None) {
  Temp_Dir dir;
  Small_Fs small(dir / "small");
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here; the disk-full fault covers it";
  const fs::path work = dir / "small";
  ASSERT_EQ(Build_Files(work, kOld, kSteps), std::vector<bool>(kSteps, true));
  // Fill what is left but about 8 KB, then build a database of some 20 KB.
  {
    std::ofstream filler(work / "filler", std::ios::binary);
    const std::vector<char> chunk(4096, 'f');
    while (filler.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) {
    }
  }
  fs::resize_file(work / "filler", fs::file_size(work / "filler") - 8192);
  Airport_Set big = kNew;
  for (int i = 0; i < 300; ++i) big.idents.push_back("Z" + std::to_string(i));
  const std::vector<bool> ok = Build_Files(work, big, kSteps);
  EXPECT_FALSE(ok.back()) << "the full file system went unnoticed";
  Expect_Whole_Set_Or_None(work, "full file system", big);
}

}  // namespace
}  // namespace orv
