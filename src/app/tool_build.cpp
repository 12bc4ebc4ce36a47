// orvane-tool build FS_PATH: what a first run does once the wizard has accepted FS_PATH, with
// no pause between scenery files. orvane-tool list: the airport list of a normal run.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "airspace/airspace_reader.h"
#include "app/tool_commands.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/data_file_check.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "scenery/database_build.h"
#include "startup/setup_check.h"

namespace orv::tool {
namespace {

bool Stderr_Is_Terminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

// The folder, given in UTF-8, as the wizard would store it: in the system's own encoding (the
// ANSI code page on Windows), a drive root without its separator, no trailing separator, and a
// relative folder made absolute so the stored settings stay valid elsewhere. Nothing when the
// system's encoding cannot hold the folder's name.
std::optional<std::string> Stored_Folder(std::string_view given) {
  std::optional<std::string> stored = Wizard_Stored_Path(given);
  if (!stored) return std::nullopt;
  std::string folder = std::move(*stored);
  const bool drive_root = folder.size() == 2 && folder[1] == ':';
  if (!drive_root && !folder.empty() && !Fs_Path(folder).is_absolute()) {
    folder = Absolute_Native_Path(folder);
  }
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

// Progress on stderr: a bar redrawn in place on a terminal, otherwise one line per area.
class Progress {
 public:
  explicit Progress(int32_t total) : total_(total), terminal_(Stderr_Is_Terminal()) {}

  void Show(const std::string& title, int32_t done) {
    if (terminal_) {
      Draw_Bar(title, done);
    } else if (title != last_title_) {
      std::fprintf(stderr, "%d/%d %s\n", done, total_, Utf8_From_1252(title).c_str());
    }
    last_title_ = title;
  }

  void Finish(int32_t done) {
    if (terminal_) {
      Draw_Bar("", done);
      std::fputc('\n', stderr);
    } else {
      std::fprintf(stderr, "%d/%d files\n", done, total_);
    }
  }

 private:
  void Draw_Bar(const std::string& title, int32_t done) {
    constexpr int kWidth = 30;
    const int filled = total_ > 0 ? static_cast<int>(int64_t{kWidth} * done / total_) : kWidth;
    std::string line = "[";
    line.append(static_cast<size_t>(std::min(filled, kWidth)), '#');
    line.append(static_cast<size_t>(kWidth - std::min(filled, kWidth)), '.');
    line += "] " + std::to_string(done) + "/" + std::to_string(total_) + " ";
    std::string shown = Utf8_From_1252(title.substr(0, 60));
    line += shown;
    const size_t length = line.size();
    if (length < last_length_) line.append(last_length_ - length, ' ');
    last_length_ = length;
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
  }

  int32_t total_;
  bool terminal_;
  std::string last_title_;
  size_t last_length_ = 0;
};

void Report_Scan(const Program_State& st, const Database_Build& b) {
  if (!b.skipped_areas.empty()) {
    std::fputs("orvane-tool: scenery areas skipped because their folders were not found:\n",
               stderr);
    for (const std::string& line : Skipped_Area_Lines(b.skipped_areas)) {
      std::fprintf(stderr, "  %s\n", line.c_str());
    }
  }
  for (const Scan_Problem& p : b.problems) {
    std::fprintf(stderr, "orvane-tool: %s: %s\n", Utf8_From_Native_Path(p.file).c_str(),
                 p.reason.c_str());
  }
  const Scan_Tally& t = b.tally;
  std::fprintf(stderr,
               "%d airports, %d airspace files; %d scenery files read, %d without the scenery "
               "signature skipped",
               st.airport_count, st.airspace_file_count, t.files_read, t.files_skipped);
  if (t.files_unopened > 0) std::fprintf(stderr, ", %d could not be read", t.files_unopened);
  if (t.files_cut_short > 0) std::fprintf(stderr, ", %d read only in part", t.files_cut_short);
  std::fputs("\n", stderr);
}

bool Report_Write(const char* what, const Write_Result& result) {
  if (!result.ok) std::fprintf(stderr, "orvane-tool: %s: %s\n", what, result.error.c_str());
  return result.ok;
}

void Scan_All(Program_State& st, Database_Build& b) {
  Progress progress(b.bgl_total);
  while (!Scan_Finished(st, b)) {
    if (const std::optional<std::string> title = Scan_Status_Text(st, b)) {
      progress.Show(*title, b.files_done);
    }
    Scan_Bgls_Tick(st, b, Read_Airspace_Section);
  }
  progress.Finish(b.files_done);
}

}  // namespace

int Tool_Build(const std::string& fs_path) {
  const std::optional<std::string> stored = Stored_Folder(fs_path);
  if (!stored) {
    std::fputs("orvane-tool: the folder's name has a character this system cannot use in a path\n",
               stderr);
    return EXIT_USAGE;
  }
  const std::string& folder = *stored;
  if (!Is_Sim_Folder(folder)) {
    std::fprintf(stderr, "orvane-tool: %s\n", MSG_NOT_SIM_FOLDER);
    return EXIT_USAGE;
  }

  Program_State st;
  if (!Report_Write(SETTINGS_FILE, Write_Wizard_Settings(st, folder))) return EXIT_FILE;
  st.first_run = true;

  if (Load_Mag_Grid(st) != File_Status::ok) {
    std::fputs("orvane-tool: no readable scenery/magdec.bgl: magnetic headings equal true ones\n",
               stderr);
  }
  Database_Build b;
  const Prepare_Report prepared = Prepare_Build(st, b);
  if (prepared.scenery_cfg && *prepared.scenery_cfg != File_Status::ok) {
    std::fputs("orvane-tool: no readable scenery.cfg: the database will hold no airport\n", stderr);
  }
  Scan_All(st, b);

  // A build that cannot finish leaves no data files, as the program does, so the next run
  // starts over cleanly instead of finding a set it must refuse.
  const Build_Files_Written written = Write_Build_Files(st, [](const char*) {});
  if (!written.ok) {
    std::fprintf(stderr, "orvane-tool: %s: %s\n", written.file, written.error.c_str());
    return EXIT_FILE;
  }
  End_Build(st, b);
  Report_Scan(st, b);
  return EXIT_OK;
}

int Tool_List() {
  Program_State st;
  Airport_Index index;
  if (const int code = Load_Normal_Run_Index(st, index); code != EXIT_OK) return code;
  // The items of Add_Airport_Items, built straight from the index into one output buffer.
  std::string out;
  out.reserve(index.bytes.size() / 16);
  std::string item;
  for (const Airport_Index_Entry& e : index.entries) {
    item.assign(e.ident).append(" (").append(e.name).append(")");
    out += Utf8_From_1252(item);
    out += '\n';
  }
  return Print_Output(out, "list");
}

}  // namespace orv::tool
