// Every Qt test program (the screen layer's and the engine's sessions) runs against one
// QApplication on the offscreen platform: no display is needed and no window appears on a
// developer's desktop. CORVAN_QT_TEST_PLATFORM names another platform for a run on a real
// display (the test command runs them once more on "xcb" under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const QByteArray platform = qgetenv("CORVAN_QT_TEST_PLATFORM");
        qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
        static int argc = 1;
        static char name[] = "corvan_qt_test";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

  private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
