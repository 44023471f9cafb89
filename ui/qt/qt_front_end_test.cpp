// The front end as a program uses it: its own QApplication, offscreen, a script at the
// screen and pictures written. Each case runs in a process of its own (CTest), so each may
// create the one QApplication.
#include "ui/qt/qt_front_end.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

namespace corvan::ui::qt {
namespace {

class Environment {
  public:
    explicit Environment(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            unsetenv(name);
        }
        for (const auto& [name, value] : values) setenv(name, value, 1);
    }
    ~Environment() {
        for (const auto& [name, value] : saved_)
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(QtFrontEnd, DisplayIsThereWithX11OrWaylandOrANamedPlatform) {
    {
        Environment none({});
        EXPECT_FALSE(displayAvailable());
    }
    {
        Environment x11({{"DISPLAY", ":0"}});
        EXPECT_TRUE(displayAvailable());
    }
    {
        Environment wayland({{"WAYLAND_DISPLAY", "wayland-0"}});
        EXPECT_TRUE(displayAvailable());
    }
    {
        Environment offscreen({{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}});
        EXPECT_FALSE(displayAvailable());
    }
    {
        Environment vnc({{"QT_QPA_PLATFORM", "vnc"}});
        EXPECT_TRUE(displayAvailable());
    }
}

TEST(QtFrontEnd, RunsAScriptedScreenOffscreenAndWritesItsPictures) {
    const std::filesystem::path dir = std::filesystem::path(CORVAN_QT_TEST_OUTPUT) / "front-end";
    std::filesystem::remove_all(dir);
    QtFrontEndOptions options;
    options.offscreen = true;
    options.scale = 2;
    options.screenshotDir = dir;
    options.script = parseTechnicianScript("answer \"DEMO\" Ok\npress \"Exit\"\n").script;
    static int argc = 1;
    static char name[] = "front_end_test";
    static char* argv[] = {name, nullptr};
    QtFrontEnd front(argc, argv, std::move(options));
    EXPECT_EQ(QApplication::platformName(), "offscreen");
    EXPECT_EQ(front.screen().scale(), 2);
    ASSERT_NE(front.script(), nullptr);

    DialogTemplate t;
    t.name = "IDENTIFY";
    ControlSpec exit;
    exit.id = 2;
    exit.kind = ControlKind::Button;
    exit.text = "Exit";
    exit.rect = {215, 200, 95, 26};
    t.controls = {exit};
    auto d = front.screen().createDialog(t);
    Dialog* dp = d.get();
    DialogHandlers h;
    h.onButton = [dp](int) { dp->setCommand("EXIT"); };
    d->setHandlers(h);
    front.screen().messageBox("DEMO MODE", "", Buttons::Ok, Icon::Information);
    d->show(true);
    int pumps = 0;
    while (d->command() != "EXIT" && pumps < 100) {
        front.screen().pumpMessages();
        ++pumps;
    }
    EXPECT_EQ(d->command(), "EXIT");
    d.reset();
    EXPECT_TRUE(front.script()->twins().report().clean());
    EXPECT_TRUE(std::filesystem::exists(dir / "0001-demo-mode-message.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "0002-identify-shown.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "0003-identify-closed.png"));
}

}  // namespace
}  // namespace corvan::ui::qt
