// The splash window's start-up decision and the setup wizard.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "data/database_files.h"
#include "qt/selection_window.h"
#include "qt/setup_window.h"
#include "qt/splash_window.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"
#include "window_fixture.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

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
  Expect_Built(splash, SPLASH_WINDOW);
  const QPixmap picture = Child<QLabel>(splash, "Picture1")->pixmap();
  EXPECT_EQ(picture.size(), QSize(400, 250));
  ASSERT_TRUE(splash->Timer1()->isActive());
  EXPECT_TRUE(splash->Timer1()->isSingleShot());
  EXPECT_EQ(splash->Timer1()->interval(), 3000);
  // Nothing is decided before the tick.
  EXPECT_EQ(Open_Window<Setup_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
}

TEST_F(Startup_Windows, SplashTickOpensTheListOrTheWizardAndCloses) {
  Write_Complete_Set();
  Splash_Window* splash = windows.Open_Splash();
  splash->Splash_Time_Over();
  EXPECT_FALSE(splash->Timer1()->isActive());
  EXPECT_NE(Open_Window<Selection_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Setup_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Splash_Window>(), nullptr);

  Delete_Windows();
  std::filesystem::remove(st.work_dir / AIRSPACE_LIST_FILE);
  windows.Open_Splash()->Splash_Time_Over();
  EXPECT_NE(Open_Window<Setup_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Splash_Window>(), nullptr);
}

TEST_F(Startup_Windows, WizardStartsOnCurrentFolderAndKeepsTheDriveRootRule) {
  Setup_Window* wizard = Open_Wizard();
  ASSERT_NE(wizard, nullptr);
  Expect_Built(wizard, SETUP_WINDOW);
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
  // The folder list opens on that same folder: its line current, every line above it open.
  auto* dir1 = Child<QTreeWidget>(wizard, "Dir1");
  ASSERT_NE(dir1->currentItem(), nullptr);
  EXPECT_EQ(dir1->currentItem()->text(0), QDir::current().dirName());
  for (QTreeWidgetItem* above = dir1->currentItem()->parent(); above; above = above->parent()) {
    EXPECT_TRUE(above->isExpanded()) << above->text(0).toStdString();
  }

  // A path typed key by key stays as typed, the separator after the drive letter included.
  text1->clear();
  QTest::keyClicks(text1, QStringLiteral("Z:\\tmp\\FS2002"));
  EXPECT_EQ(text1->text(), QStringLiteral("Z:\\tmp\\FS2002"));
  EXPECT_EQ(text1->cursorPosition(), text1->text().size());
}

TEST_F(Startup_Windows, WizardTakesTheTypedFolderAndItsCloseBoxEndsTheProgram) {
  sw::Sim_Folder(dir / "Fs2002").Exe_Name("FS2002.EXE").Write();
  const std::filesystem::path was_in = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());  // the folder list opens on the working folder
  Setup_Window* wizard = Open_Wizard();
  std::filesystem::current_path(was_in);
  auto* text1 = Child<QLineEdit>(wizard, "Text1");
  text1->setText(QString::fromStdString((dir / "Missing").string()));
  Child<QPushButton>(wizard, "Command1")->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Open_Window<Setup_Window>(), wizard);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);

  // Enter on a folder list line opens it; Enter in the path box then accepts the wizard.
  auto* dir1 = Child<QTreeWidget>(wizard, "Dir1");
  const QList<QTreeWidgetItem*> found = dir1->findItems(
      QStringLiteral("Fs2002"), Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(found.size(), 1);
  dir1->setCurrentItem(found[0]);
  QTest::keyClick(dir1, Qt::Key_Return);
  EXPECT_EQ(text1->text().toStdString(), (dir / "Fs2002").string());
  QTest::keyClick(text1, Qt::Key_Return);
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(st.fs_path, (dir / "Fs2002").string());
  EXPECT_EQ(Open_Window<Setup_Window>(), nullptr);
  EXPECT_NE(Open_Window<Selection_Window>(), nullptr);
  EXPECT_EQ(ended, 0);

  Delete_Windows();
  Open_Wizard()->close();
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace orv
