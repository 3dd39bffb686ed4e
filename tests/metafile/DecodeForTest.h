// Decoding a metafile in a test: the graphical application the player needs, a folder of the
// running test's own, and the decode of bytes written there.
#pragma once

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/metafile/PLWEMFDecoder.h"
#include "metafile/WmfWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace decodefortest {

using wmfwriter::Bytes;

inline void EnsureApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "metafile_tests";
        static char* argv[] = { name, nullptr };
        static QGuiApplication app(argc, argv);
    }
}

// A folder of the running test's own: tests run in parallel processes and write files of the same
// names with other contents.
inline std::filesystem::path TestFolder()
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = std::filesystem::path(ORVANEL_TEST_OUTPUT) / "metafile"
        / (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::create_directories(folder);
    return folder;
}

// Decodes the bytes as a file of the given name (the name says nothing about the kind).
inline std::unique_ptr<PLAnyBmp> Decode(const Bytes& file, const std::string& name = "picture")
{
    EnsureApplication();
    const std::filesystem::path folder = TestFolder();
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    PLWEMFDecoder decoder;
    auto bmp = std::make_unique<PLAnyBmp>();
    decoder.DecodeFile(path.c_str(), bmp.get());
    return bmp;
}

inline int RefusalCode(const Bytes& file)
{
    try {
        Decode(file);
    } catch (const PLTextException& e) {
        return e.GetCode();
    }
    return -1;
}

inline PLPixel32 Opaque(uint8_t r, uint8_t g, uint8_t b)
{
    return PLPixel32(r, g, b, 255);
}

// The decoded picture as a QImage (to save it, or to compare it with a peer's).
inline QImage ToImage(const PLAnyBmp& bmp)
{
    QImage image(bmp.GetWidth(), bmp.GetHeight(), QImage::Format_RGB32);
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x) {
            const PLPixel32 p = bmp.GetPixel32(x, y);
            image.setPixel(x, y, qRgb(p.GetR(), p.GetG(), p.GetB()));
        }
    return image;
}

} // namespace decodefortest
