// A document, views and a frame that log what the framework does to them, in order.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "platform/qt/fw/View.h"
#include "platform/win/Archive.h"

#include <QSplitter>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace fwtest {

using Log = std::vector<std::string>;

class TestDocument : public fw::Document {
public:
    explicit TestDocument(Log& log)
        : log_(log)
    {
        log_.push_back("document constructed");
    }
    ~TestDocument() override { log_.push_back("document destroyed"); }

    win::BOOL OnNewDocument() override
    {
        log_.push_back("OnNewDocument");
        return Document::OnNewDocument();
    }
    void Serialize(win::Archive& archive) override
    {
        log_.push_back(std::string("Serialize ") + (archive.IsLoading() ? "loading" : "storing"));
        if (archive.IsLoading() && failReading == Failure::format)
            throw win::ArchiveException(win::ArchiveException::Cause::endOfFile, "past the end");
        if (archive.IsLoading() && failReading == Failure::other)
            throw std::runtime_error("Out of memory.");
    }
    win::BOOL DoFileSave() override
    {
        log_.push_back("DoFileSave");
        return saves ? win::TRUE : win::FALSE;
    }

    using Document::OnCommand;
    using Document::OnUpdateCommandUI;
    bool saves = true;
    // How reading fails part way, once the document has been emptied.
    enum class Failure { none, format, other };
    Failure failReading = Failure::none;

private:
    Log& log_;
};

class TestView : public fw::View {
public:
    TestView(Log& log, std::string name)
        : log_(log)
        , name_(std::move(name))
    {
        log_.push_back("view " + name_ + " constructed");
    }
    ~TestView() override { log_.push_back("view " + name_ + " destroyed"); }

    void OnInitialUpdate() override { log_.push_back("initial update " + name_); }
    void OnUpdate(fw::View* sender, win::LPARAM hint) override
    {
        hints.push_back(hint);
        senders.push_back(sender);
    }
    void OnDraw(gdi::DeviceContext& dc) override
    {
        dc.FillSolidRect(
            win::RECT { 10, 10, 110, 60 }, name_ == "A" ? win::RGB(40, 90, 200) : win::RGB(200, 90, 40));
    }

    using View::OnCommand;
    using View::OnNotify;
    std::vector<win::LPARAM> hints;
    std::vector<fw::View*> senders;
    const std::string& Name() const { return name_; }

private:
    Log& log_;
    std::string name_;
};

// A frame with two views side by side, as the program's main frame has.
class TwoViewFrame : public fw::FrameWnd {
public:
    explicit TwoViewFrame(Log& log)
        : log_(log)
    {
    }
    using FrameWnd::OnCommand;

    TestView* viewA = nullptr;
    TestView* viewB = nullptr;

protected:
    win::BOOL OnCreateClient(fw::CreateContext& context) override
    {
        auto splitter = std::make_unique<QSplitter>(this);
        fw::CreateContext first = context;
        fw::CreateContext second = context;
        first.m_pNewViewClass = [this] { return std::make_unique<TestView>(log_, "A"); };
        viewA = static_cast<TestView*>(CreateView(first, splitter.get()));
        second.m_pNewViewClass = [this] { return std::make_unique<TestView>(log_, "B"); };
        viewB = static_cast<TestView*>(CreateView(second, splitter.get()));
        setCentralWidget(splitter.release());
        return viewA != nullptr && viewB != nullptr ? win::TRUE : win::FALSE;
    }

private:
    Log& log_;
};

inline std::unique_ptr<fw::SingleDocTemplate> MakeTemplate(Log& log)
{
    return std::make_unique<fw::SingleDocTemplate>(
        128, "Orvanel\n\nOrvan\n\n\nOrvanel.Document\nOrvan Document",
        [&log] { return std::make_unique<TestDocument>(log); },
        [&log] { return std::make_unique<TwoViewFrame>(log); }, nullptr);
}

} // namespace fwtest
