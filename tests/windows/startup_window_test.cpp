// The splash window's start-up decision and the setup wizard.
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>

#include "core/settings_file.h"
#include "qt/selection_window.h"
#include "qt/setup_window.h"
#include "qt/splash_window.h"
#include "scenery/database_files.h"
#include "startup/data_files.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"
#include "window_fixture.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using testing::Read_Bytes;
using testing::Write_Text;

class Startup_Windows : public Window_Test {
 protected:
  // A complete, consistent set of data files with no airports.
  void Write_Complete_Set() {
    ASSERT_TRUE(Write_Wizard_Settings(st, (dir / "FS2002").string()).ok);
    ASSERT_TRUE(Write_Airport_File(st).ok);
    ASSERT_TRUE(Write_Airspace_List(st).ok);
  }

  Setup_Window* Open_Wizard() {
    windows.Open_Setup();
    return Open_Window<Setup_Window>();
  }
};

TEST_F(Startup_Windows, SplashShowsPictureAndWaitsThreeSecondsOnce) {
  Splash_Window* splash = windows.Open_Splash();
  EXPECT_EQ(splash->windowTitle(), QStringLiteral("Orvane v1.2"));
  EXPECT_EQ(Child<QLabel>(splash, "Label1")->text(), QStringLiteral("ORVANE VERSION 1.2"));
  const QPixmap picture = Child<QLabel>(splash, "Picture1")->pixmap();
  EXPECT_EQ(picture.size(), QSize(400, 250));
  ASSERT_TRUE(splash->Timer1()->isActive());
  EXPECT_TRUE(splash->Timer1()->isSingleShot());
  EXPECT_EQ(splash->Timer1()->interval(), 3000);
  // Nothing is decided before the tick.
  EXPECT_EQ(Open_Window<Setup_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
}

TEST_F(Startup_Windows, SplashWithCompleteSetOpensAirportListAndTouchesNothing) {
  Write_Complete_Set();
  const std::vector<uint8_t> settings = Read_Bytes(st.work_dir / SETTINGS_FILE);
  Program_State fresh;
  fresh.work_dir = st.work_dir;
  fresh.first_run = true;
  Qt_Windows fresh_windows(fresh, Airspace_Selection_Engine(), Platform_Link);
  Splash_Window* splash = fresh_windows.Open_Splash();
  splash->Timer1_Timer();

  EXPECT_FALSE(splash->Timer1()->isActive());
  EXPECT_NE(Open_Window<Selection_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Setup_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Splash_Window>(), nullptr);
  EXPECT_FALSE(fresh.first_run);
  EXPECT_EQ(fresh.fs_path, (dir / "FS2002").string());
  EXPECT_EQ(Read_Bytes(st.work_dir / SETTINGS_FILE), settings);
  for (const char* name : DATA_FILES) EXPECT_TRUE(Data_File_Exists(name)) << name;
  EXPECT_TRUE(messages.empty());
}

TEST_F(Startup_Windows, SplashDeletesPartialSetAndOpensWizard) {
  Write_Complete_Set();
  std::filesystem::remove(st.work_dir / AIRSPACE_LIST_FILE);
  windows.Open_Splash()->Timer1_Timer();

  EXPECT_TRUE(st.first_run);
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_FALSE(Data_File_Exists(DATABASE_FILE));
  EXPECT_NE(Open_Window<Setup_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(ended, 0);
}

TEST_F(Startup_Windows, SplashWithDamagedSettingsSaysSoRemovesFilesAndOpensWizard) {
  Write_Complete_Set();
  Write_Text(st.work_dir / SETTINGS_FILE, std::string("\x40\x00", 2));  // a length past the end
  windows.Open_Splash()->Timer1_Timer();

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, Message_Icon::error);
  EXPECT_TRUE(messages[0].text.contains(QStringLiteral("damaged")));
  for (const char* name : DATA_FILES) EXPECT_FALSE(Data_File_Exists(name)) << name;
  EXPECT_NE(Open_Window<Setup_Window>(), nullptr);
  EXPECT_TRUE(st.first_run);
}

TEST_F(Startup_Windows, WizardStartsOnCurrentFolderAndKeepsTheDriveRootRule) {
  Setup_Window* wizard = Open_Wizard();
  ASSERT_NE(wizard, nullptr);
  EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Settings"));
  EXPECT_TRUE(Child<QRadioButton>(wizard, "Option1")->isChecked());
  EXPECT_EQ(st.sim_version, 1);
  auto* drive1 = Child<QComboBox>(wizard, "Drive1");
  ASSERT_GE(drive1->count(), 1);
#ifndef _WIN32
  EXPECT_EQ(drive1->count(), 1);
  EXPECT_EQ(drive1->itemText(0), QStringLiteral("/"));
#endif
  auto* text1 = Child<QLineEdit>(wizard, "Text1");
  EXPECT_EQ(text1->text(), QDir::toNativeSeparators(QDir::currentPath()));
  // The folder list opens on that same folder: selected, open, every folder above it open.
  auto* dir1 = Child<QTreeView>(wizard, "Dir1");
  const auto* model = qobject_cast<const QFileSystemModel*>(dir1->model());
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->filePath(dir1->currentIndex()), QDir::currentPath());
  for (QModelIndex folder = dir1->currentIndex(); folder.isValid(); folder = folder.parent()) {
    EXPECT_TRUE(dir1->isExpanded(folder)) << model->filePath(folder).toStdString();
  }

  const std::vector<std::pair<QString, QString>> cases = {
      {QStringLiteral("C:\\"), QStringLiteral("C:")},
      {QStringLiteral("d:/"), QStringLiteral("d:")},
      {QStringLiteral("/a/"), QStringLiteral("/a/")},  // three characters, but no drive root
      {QStringLiteral("/"), QStringLiteral("/")},
      {QStringLiteral("C:\\Fs"), QStringLiteral("C:\\Fs")},
      {QStringLiteral("/opt/fs2002/"), QStringLiteral("/opt/fs2002/")},
  };
  for (const auto& [typed, kept] : cases) {
    text1->clear();
    text1->setText(typed);
    EXPECT_EQ(text1->text(), kept) << typed.toStdString();
  }
}

TEST_F(Startup_Windows, WizardRejectsFolderWithoutExecutableAndStaysOpen) {
  sw::Sim_Folder(dir / "NoExe").No_Exe().Write();
  sw::Sim_Folder(dir / "Fs2004").Exe_Name("fs2004.exe").Write();
  Setup_Window* wizard = Open_Wizard();
  auto* text1 = Child<QLineEdit>(wizard, "Text1");
  for (const char* folder : {"NoExe", "Fs2004", "Missing"}) {
    text1->setText(QString::fromStdString((dir / folder).string()));
    Child<QPushButton>(wizard, "Command1")->click();
  }
  ASSERT_EQ(messages.size(), 3u);
  for (const Shown_Message& m : messages) {
    EXPECT_EQ(m.icon, Message_Icon::exclamation);
    EXPECT_EQ(m.text, Ui_Text(MSG_NOT_SIM_FOLDER));
  }
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_FALSE(wizard->Setup_Done());
  EXPECT_EQ(Open_Window<Setup_Window>(), wizard);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
}

TEST_F(Startup_Windows, WizardAcceptsExecutableInAnyLetterCaseAndOpensAirportList) {
  sw::Sim_Folder(dir / "Fs2002").Exe_Name("FS2002.EXE").Write();
  Setup_Window* wizard = Open_Wizard();
  // The folder typed in other letter case is found too, and stored as typed.
  const std::string typed = (dir / "FS2002").string();
  Child<QLineEdit>(wizard, "Text1")->setText(QString::fromStdString(typed));
  Child<QPushButton>(wizard, "Command1")->click();

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, Message_Icon::information);
  EXPECT_EQ(messages[0].text, QStringLiteral("Settings file created successfully!"));
  Program_State saved;
  ASSERT_EQ(Load_Settings(saved, st.work_dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(saved.cfg.banner, "Orvane v1.2");
  EXPECT_EQ(saved.cfg.cfg_valid, 1);
  EXPECT_EQ(saved.cfg.sim_version, 1);
  EXPECT_EQ(saved.cfg.fs_path, typed);
  EXPECT_EQ(st.fs_path, typed);
  EXPECT_EQ(Open_Window<Setup_Window>(), nullptr);
  EXPECT_NE(Open_Window<Selection_Window>(), nullptr);
  EXPECT_EQ(ended, 0);
}

TEST_F(Startup_Windows, ClosingWizardBeforeItFinishedRemovesSettingsAndEnds) {
  Write_Text(st.work_dir / SETTINGS_FILE, "left over");
  Setup_Window* wizard = Open_Wizard();
  wizard->close();

  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, Message_Icon::information);
  EXPECT_EQ(messages[0].text, QStringLiteral("You didn't finish setup process, program will end"));
  EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace orv
