#pragma once
// Helpers shared by the Qt backend's tests: a scratch folder in the build tree and small
// BMP files made on the fly.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <filesystem>
#include <string>

#include "ui/qt/qt_screen.h"

namespace corvan::ui::qt::testing {

// A fresh, empty folder under the build tree for the running test: CTest runs tests in
// parallel processes, so no two tests share one.
inline std::filesystem::path outputDir(const std::string& name) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string unique = test ? std::string(test->test_suite_name()) + "." + test->name() : "";
    for (char& c : unique)
        if (c == '/') c = '_';
    const std::filesystem::path dir = std::filesystem::path(CORVAN_QT_TEST_OUTPUT) / name / unique;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir, ec);
    return dir;
}

// A w x h BMP in one colour with a black top-left pixel, so scaling can be seen.
inline std::filesystem::path writeBitmap(const std::filesystem::path& file, int w, int h,
                                         QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixelColor(0, 0, Qt::black);
    image.save(QString::fromStdString(file.string()), "BMP");
    return file;
}

// Screen options written as a chain: Options(2).automate(&script).watched(true). Nobody sits
// at a test's screen, on a real display either: a box waits for a person only in a test that
// asks for one with watched(true).
struct Options : QtScreenOptions {
    explicit Options(int pixels = 1) {
        scale = pixels;
        attended = false;
    }
    Options& automate(QtAutomation* a) {
        automation = a;
        return *this;
    }
    Options& watched(bool person) {
        attended = person;
        return *this;
    }
    Options& shots(std::filesystem::path dir) {
        screenshotDir = std::move(dir);
        return *this;
    }
};

// Dialog handlers written as a chain: Handlers().button(...).close(...).
struct Handlers : DialogHandlers {
    Handlers& button(std::function<void(int)> f) {
        onButton = std::move(f);
        return *this;
    }
    Handlers& tap(std::function<void(int, int)> f) {
        onRowTap = std::move(f);
        return *this;
    }
    Handlers& doubleTap(std::function<void(int, int)> f) {
        onRowDoubleTap = std::move(f);
        return *this;
    }
    Handlers& selection(std::function<void(int)> f) {
        onSelectionChange = std::move(f);
        return *this;
    }
    Handlers& edit(std::function<void(int)> f) {
        onTextChange = std::move(f);
        return *this;
    }
    Handlers& close(std::function<void()> f) {
        onClose = std::move(f);
        return *this;
    }
};

}  // namespace corvan::ui::qt::testing
