// Runs the window tests in the offscreen platform: no display is needed and nothing is shown.
// The simulator link looks for its socket in an empty folder of the test's own, so a stand-in
// simulator running on the machine never answers these tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (runtime.isValid()) qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
