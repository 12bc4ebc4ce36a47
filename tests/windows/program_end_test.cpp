// The program's end after a failed database write, in a process of its own: the real event
// loop, the real message boxes (dismissed as a pilot would) and the real end of the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <filesystem>

#include "behaviour/chart_behaviour.h"
#include "core/program_state.h"
#include "data/data_file_names.h"
#include "qt/qt_windows.h"
#include "simlink/sim_choice.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

constexpr const char* kWorkVar = "ORVANE_END_CHILD_WORK";
constexpr const char* kSimVar = "ORVANE_END_CHILD_SIM";

TEST(Program_End, AFailedDatabaseWriteEndsTheProgramAndLeavesNoDataFiles) {
  testing::Temp_Dir dir;
  const std::filesystem::path sim = dir.path() / "FS2002";
  sw::Sim_Folder folder(sim);
  folder.Area({.title = "Area",
               .local = "Scenery\\Area",
               .files = {{"a.bgl", sw::Bgl_File()
                                       .Add(sw::Airport("KSEA").Reference(47.4, -122.3).Name("S"))
                                       .Build()
                                       .bytes}}});
  folder.Write();
  const std::filesystem::path work = dir.path() / "work";
  // A folder where the database file should go: the database cannot be written.
  std::filesystem::create_directories(work / DATABASE_FILE / "blocked");

  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromUtf8(kWorkVar), QString::fromStdString(work.string()));
  env.insert(QString::fromUtf8(kSimVar), QString::fromStdString(sim.string()));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=Program_End_Child.*")});
  ASSERT_TRUE(child.waitForStarted());
  const bool ended = child.waitForFinished(30000);
  if (!ended) child.kill();
  ASSERT_TRUE(ended) << "the program was told to end but went on";
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
  // Nothing of the failed build is left but the folder that blocked it.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(work)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{DATABASE_FILE});
}

// The program from the end of the setup on, run by the test above in its own process.
TEST(Program_End_Child, FirstRunWithTheDatabaseWriteFailing) {
  const QByteArray work = qgetenv(kWorkVar);
  if (work.isEmpty()) GTEST_SKIP() << "runs only in the process that Program_End starts";
  Program_State st;
  st.work_dir = work.toStdString();
  ASSERT_TRUE(Write_Wizard_Settings(st, qgetenv(kSimVar).toStdString()).ok);
  st.first_run = true;
  Qt_Windows windows(st, Platform_Link);
  windows.Open_Selection();

  QTimer pilot;  // presses Ok on every message box
  QObject::connect(&pilot, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
  });
  pilot.start(20);
  EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace orv
