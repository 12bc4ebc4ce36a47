// The command lines of orvane-tool and orvane-sim as a user meets them: help and version on
// stdout with exit code 0, and a wrong option or a missing value named on one line of stderr,
// followed by the usage, with exit code 2 and nothing on stdout.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "orvane_version.h"
#include "support/sample_sim.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using orv::testing::Temp_Dir;

struct Run_Result {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string Read_All(const std::filesystem::path& file) {
  std::string text;
  if (FILE* f = std::fopen(file.c_str(), "rb")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
  }
  return text;
}

Run_Result Run_Program(const Temp_Dir& tmp, const std::string& program, const std::string& args) {
  const std::string command =
      "cd '" + tmp.path().string() + "' && '" + program + "' " + args + " >out.txt 2>err.txt";
  Run_Result r;
  const int status = std::system(command.c_str());
  r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Read_All(tmp / "out.txt");
  r.err = Read_All(tmp / "err.txt");
  return r;
}

std::string First_Line(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

TEST(Command_Line, Tool_Gives_Help_Version_And_Clear_Errors) {
  Temp_Dir tmp;
  for (const char* help : {"--help", "-h", "chart --help", "fetch -h"}) {
    const Run_Result r = Run_Program(tmp, ORVANE_TOOL_PATH, help);
    EXPECT_EQ(r.exit, 0) << help;
    EXPECT_NE(r.out.find("Usage: orvane-tool"), std::string::npos) << help << r.out;
    EXPECT_EQ(r.err, "") << help;
  }
  const Run_Result version = Run_Program(tmp, ORVANE_TOOL_PATH, "--version");
  EXPECT_EQ(version.exit, 0);
  EXPECT_EQ(version.out, "orvane-tool " ORVANE_VERSION "\n");

  struct Bad {
    const char* args;
    const char* message;
  };
  for (const Bad& bad : {
           Bad{"", "orvane-tool: a subcommand is required"},
           Bad{"frob", "orvane-tool: The following argument was not expected: frob"},
           Bad{"fetch", "orvane-tool: ITEM is required"},
           Bad{"list extra", "orvane-tool: The following argument was not expected: extra"},
           Bad{"chart K --out a.svg --bogus 1",
               "orvane-tool: The following arguments were not expected: 1 --bogus"},
           Bad{"chart K --out a.txt",
               "orvane-tool: --out: the output file must end in .svg, "
               ".png or .json"},
           Bad{"chart K --out a.svg --zoom 0x10", "orvane-tool: --zoom: takes 1 to 20"},
           Bad{"chart K --out a.svg --size 10x0",
               "orvane-tool: --size: takes WxH, each 1 to 65535 pixels"},
           Bad{"chart K --out a.svg --aircraft 1,2",
               "orvane-tool: --aircraft: takes LAT,LON,HDG (HDG whole degrees)"},
           Bad{"aircraft --sim-code", "orvane-tool: --sim-code: 1 required N missing"},
           Bad{"nearest 95,0",
               "orvane-tool: POSITION: takes LAT,LON in degrees, latitude -90 to 90, longitude "
               "-180 to 180"},
           Bad{"nearest 1,2 --count 0", "orvane-tool: --count: takes 1 to 100000"},
       }) {
    const Run_Result r = Run_Program(tmp, ORVANE_TOOL_PATH, bad.args);
    EXPECT_EQ(r.exit, 2) << bad.args;
    EXPECT_EQ(First_Line(r.err), bad.message) << bad.args;
    EXPECT_NE(r.err.find("Usage: orvane-tool"), std::string::npos) << bad.args;
    EXPECT_EQ(r.out, "") << bad.args;
  }
  // A negative longitude is a value, not an option; the view then fails only for want of data.
  const Run_Result west =
      Run_Program(tmp, ORVANE_TOOL_PATH, "chart K --out a.svg --center -122.3,47.4");
  EXPECT_EQ(west.exit, 1) << west.err;
}

TEST(Command_Line, Stand_In_Simulator_Gives_Version_And_Clear_Errors) {
  Temp_Dir tmp;
  const Run_Result version = Run_Program(tmp, ORVANE_SIM_PATH, "--version");
  EXPECT_EQ(version.exit, 0);
  EXPECT_EQ(version.out, "orvane-sim " ORVANE_VERSION "\n");
  for (const char* args : {"--garbage 3", "--pressure 0x10000", "--fixed 1,2", "--hang 1"}) {
    const Run_Result r = Run_Program(tmp, ORVANE_SIM_PATH, args);
    EXPECT_EQ(r.exit, 2) << args;
    EXPECT_EQ(r.err.rfind("orvane-sim: ", 0), 0u) << args << r.err;
    EXPECT_NE(r.err.find("Usage: orvane-sim"), std::string::npos) << args;
  }
}

// The kneeboard page: one page of the paper asked for, a diagram of the airport on it.
TEST(Command_Line, Tool_Writes_A_Diagram_Page_As_One_Pdf_Page_Of_The_Paper) {
  if (!ORVANE_TOOL_WRITES_PDF) GTEST_SKIP() << "this build has no picture module (no GUI)";
  Temp_Dir tmp;
  orv::testing::Write_Sample_Sim(tmp / "sim");
  ASSERT_EQ(Run_Program(tmp, ORVANE_TOOL_PATH, "build sim").exit, 0);
  const std::string item = "'KSEA (SEATTLE-TACOMA INTL)'";
  struct Page {
    const char* paper;
    double w_pt;
    double h_pt;
  };
  for (const Page& page : {Page{"a5", 419.5, 595.3}, Page{"letter", 612.0, 792.0}}) {
    const Run_Result r = Run_Program(
        tmp, ORVANE_TOOL_PATH,
        "chart " + item + " --style diagram --paper " + page.paper + " --out page.pdf");
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::string pdf = Read_All(tmp / "page.pdf");
    EXPECT_TRUE(pdf.starts_with("%PDF-")) << page.paper;
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos) << page.paper;
    const size_t box = pdf.find("/MediaBox [0 0 ");
    ASSERT_NE(box, std::string::npos) << page.paper;
    double w = 0.0;
    double h = 0.0;
    ASSERT_EQ(std::sscanf(pdf.c_str() + box, "/MediaBox [0 0 %lf %lf", &w, &h), 2);
    EXPECT_NEAR(w, page.w_pt, 1.0) << page.paper;
    EXPECT_NEAR(h, page.h_pt, 1.0) << page.paper;
  }
  const Run_Result classic = Run_Program(tmp, ORVANE_TOOL_PATH, "chart " + item + " --out a.pdf");
  EXPECT_EQ(classic.exit, 2);
  EXPECT_EQ(First_Line(classic.err),
            "orvane-tool: a PDF page is drawn in the diagram style: add --style diagram");
}

}  // namespace
}  // namespace orv
