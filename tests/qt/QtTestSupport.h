// Shared helpers of the Qt tests: one application object per test program, the output folder
// for pictures a person can look at, and pixel inspection.
#pragma once

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace qttest {

// Destroys the application object once every test has run, before the process exits: Qt's own
// process-wide objects (the input devices that QTest's events create) are gone by the time
// static objects are destroyed, and the application's children must not outlive them.
class ApplicationEnvironment : public ::testing::Environment {
public:
    explicit ApplicationEnvironment(std::unique_ptr<QApplication>& app)
        : app_(app)
    {
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication>& app_;
};

// Creates the application object on first use. Tests never need a display: offscreen unless the
// caller chose a platform, so that the test program also runs by hand outside CTest.
inline void EnsureApplication()
{
    static std::unique_ptr<QApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
        static int argc = 1;
        static char name[] = "qt_tests";
        static char* argv[] = { name, nullptr };
        app = std::make_unique<QApplication>(argc, argv);
        ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment(app)); // gtest owns it
    }
}

inline std::filesystem::path OutputPath(const std::string& file)
{
    const std::filesystem::path folder(ORVANEL_TEST_OUTPUT);
    std::filesystem::create_directories(folder);
    return folder / file;
}

// A white picture of the given size at the given resolution.
inline QImage WhiteImage(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// Bounding box of the pixels inside `area` for which `ink` holds; empty (invalid) when none.
inline QRect InkBounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink)
{
    QRect box;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (ink(image.pixel(x, y)))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

inline bool NotWhite(QRgb p)
{
    return qRed(p) < 200 || qGreen(p) < 200 || qBlue(p) < 200;
}

} // namespace qttest
