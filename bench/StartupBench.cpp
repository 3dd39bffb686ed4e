// Start-up of the tool up to the first painted frame of its main window (settings, the first
// layout, the catalogue, the pack template, the window shown and painted), against a bare Qt main
// window with a toolbar and a splitter shown and painted, in the same run, both offscreen. Goal:
// at most twice the bare window.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QSplitter>
#include <QToolBar>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/dialogs/ProgramOptions.h"
#include "app/document/OrvanelApp.h"
#include "app/document/ProgramParts.h"
#include "app/document/UndoManager.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/ProductCatalog.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/win/AppContext.h"

namespace {

namespace fs = std::filesystem;

// The program folder: the files that ship with the tool, beside the release build's program.
std::string ProgramFolder()
{
    const fs::path here = fs::canonical("/proc/self/exe").parent_path(); // <build>/bench
    return (here.parent_path() / "bin").string() + "/";
}

void ResetProgram()
{
    win::AppContext::Instance().Reset();
    GetUndoManager().Reset();
    GetImageCache().RestoreInitialState();
    ProgramOptions::Instance().Reset();
    ResetGlobalProductCatalog();
}

// One start of the tool from the given program folder, up to the first painted frame.
void StartToFirstPaint(benchmark::State& state, const std::string& programFolder)
{
    EnsureGuiApplication();
    const fs::path settings = fs::temp_directory_path() / "orvanel-bench-startup.conf";
    setenv("ORVANEL_SETTINGS", settings.c_str(), 1);
    for (auto _ : state) {
        fs::remove(settings);
        ResetProgram();
        AppParts parts = ProgramParts();
        parts.programFolder = programFolder;
        parts.arguments = std::vector<std::string> {};
        COrvanelApp app(std::move(parts));
        if (!app.InitInstance()) {
            state.SkipWithError("start-up refused (is the catalogue beside the program?)");
            break;
        }
        app.GetMainWnd()->resize(1024, 768); // the bare window's size
        QApplication::processEvents();
        benchmark::DoNotOptimize(app.GetMainWnd()->grab());
        state.PauseTiming();
        app.ExitInstance();
        state.ResumeTiming();
    }
    ResetProgram();
    unsetenv("ORVANEL_SETTINGS");
}

void BM_StartToFirstPaint(benchmark::State& state)
{
    StartToFirstPaint(state, ProgramFolder());
}

// The same start from a program folder that holds the catalogue and the pack template but no
// sample photographs: what start-up costs apart from decoding and cropping the two photographs
// that the first paint shows.
void BM_StartToFirstPaintWithoutSamples(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / "orvanel-bench-no-samples";
    fs::create_directories(folder);
    for (const char* name : { "ProductCatalog.csv", "Packs.csv" })
        fs::copy_file(fs::path(ProgramFolder()) / name, folder / name, fs::copy_options::overwrite_existing);
    StartToFirstPaint(state, folder.string() + "/");
    fs::remove_all(folder);
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToFirstPaintWithoutSamples)->Unit(benchmark::kMillisecond);

void BM_BareWindowToFirstPaint(benchmark::State& state)
{
    EnsureGuiApplication();
    for (auto _ : state) {
        QMainWindow window;
        window.addToolBar("Main")->addAction("Save");
        auto splitter = std::make_unique<QSplitter>();
        splitter->addWidget(std::make_unique<QLabel>("page").release()); // the splitter owns them
        splitter->addWidget(std::make_unique<QLabel>("form").release());
        window.setCentralWidget(splitter.release());
        window.resize(1024, 768);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_BareWindowToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace
