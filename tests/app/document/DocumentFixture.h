// The fixture of the document tests: the Qt application, scripted modal services (a modal nobody
// scripted fails the test), an in-memory settings store, a folder of the test's own, a fresh undo
// manager and image cache, and the document with two views that record every hint they receive.
#pragma once

#include "UnexpectedModals.h"
#include "app/dialogs/ProgramOptions.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/UndoManager.h"
#include "imaging/wrapper/ImageCache.h"
#include "platform/qt/fw/View.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "qt/QtTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace doctest {

using Hints = std::vector<win::LPARAM>;

// Stands in for the drawing view and the editing form: logs the hints.
class RecordingView : public fw::View {
public:
    void OnUpdate(fw::View*, win::LPARAM hint) override { hints.push_back(hint); }
    Hints hints;
};

inline std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The layout document as Layout::WriteCsv writes it.
inline std::string LayoutBytes(const Layout& layout)
{
    std::ostringstream out;
    layout.WriteCsv(out);
    return out.str();
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qttest::EnsureApplication();
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder = qttest::OutputPath("document") / name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetModalServices(modal);
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        ProgramOptions::Instance().Reset();
        drawingView = std::make_unique<RecordingView>();
        formView = std::make_unique<RecordingView>();
        document = std::make_unique<COrvanelDoc>();
        document->AddView(drawingView.get());
        document->AddView(formView.get());
    }

    void TearDown() override
    {
        document.reset();
        drawingView.reset();
        formView.reset();
        ExpectNoUnexpectedModals(*modal);
        EXPECT_TRUE(modal->AllAnswersUsed()) << "a scripted answer was never asked for";
        win::AppContext::Instance().Reset();
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        ProgramOptions::Instance().Reset();
    }

    // What both views received since the last call.
    Hints TakeHints()
    {
        EXPECT_EQ(drawingView->hints, formView->hints);
        Hints hints = drawingView->hints;
        drawingView->hints.clear();
        formView->hints.clear();
        return hints;
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    // The names in the test's folder (a temporary file left behind shows up here).
    std::vector<std::string> FolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path folder;
    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
    // Made once the Qt application exists.
    std::unique_ptr<RecordingView> drawingView;
    std::unique_ptr<RecordingView> formView;
    std::unique_ptr<COrvanelDoc> document;
};

} // namespace doctest
