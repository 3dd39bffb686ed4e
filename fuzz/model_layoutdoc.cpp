// Fuzzes the layout document reader and the legacy order-form template reader. Besides finding
// crashes, hangs and unbounded allocation, it checks that what the writer produces reads back to
// a layout that writes the same text again.
#include "model/Layout.h"
#include "model/LegacyOrderForm.h"
#include "platform/win/AppContext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Answers every message box with OK, as a user clicking through them would; the readers show
// no dialogs, which are cancelled.
class AcceptingModal : public win::ModalServices {
public:
    int MessageBox(std::string_view, win::UINT) override { return win::IDOK; }
    int MessageBoxUtf8(std::string_view, win::UINT) override { return win::IDOK; }
    int FileDialog(const win::FileDialogRequest&, std::string&) override { return win::IDCANCEL; }
    int ColorDialog(win::COLORREF&, std::span<win::COLORREF, 16>, win::DWORD) override
    {
        return win::IDCANCEL;
    }
    int PrintDialog(win::PrintSetup&) override { return win::IDCANCEL; }
    int PrintPreview(const win::PrintRequest&, const win::RenderPrinterPage&) override
    {
        return win::IDCANCEL;
    }
};

// Keeps nothing: the layouts' margins are written at every destruction and must not pile up.
class NullProfile : public win::ProfileStore {
public:
    int GetProfileInt(std::string_view, std::string_view, int defaultValue) const override
    {
        return defaultValue;
    }
    bool WriteProfileInt(std::string_view, std::string_view, int) override { return true; }
    std::string GetProfileString(
        std::string_view, std::string_view, std::string_view defaultValue) const override
    {
        return std::string(defaultValue);
    }
    bool WriteProfileString(std::string_view, std::string_view, std::string_view) override { return true; }
};

std::string Write(const Layout& layout)
{
    std::ostringstream out;
    if (!layout.WriteCsv(out))
        std::abort();
    return out.str();
}

std::string RewriteThroughReader(const std::string& text)
{
    Layout layout;
    std::istringstream in(text);
    if (!layout.ReadCsv(in))
        std::abort(); // the reader refused what the writer wrote
    return Write(layout);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        win::AppContext::Instance().SetModalServices(std::make_shared<AcceptingModal>());
        win::AppContext::Instance().SetProfileStore(std::make_shared<NullProfile>());
        return true;
    }();
    (void)installed;
    const std::string input(reinterpret_cast<const char*>(data), size);

    // A template places the units of the layout's current tree, so it is read into each type.
    for (const int type : { 0, 1, 2 }) {
        Layout layout;
        layout.SetLayoutType(type);
        std::istringstream in(input);
        if (!layout.ReadCsv(in))
            continue;
        // What the writer wrote reads back to the same text, except where a value holds the bytes
        // C2 B8, which the format reads as a comma: then the second write is the fixed point.
        const std::string written = Write(layout);
        const std::string rewritten = RewriteThroughReader(written);
        const bool holdsCedilla = written.find("\xC2\xB8") != std::string::npos;
        if (holdsCedilla ? RewriteThroughReader(rewritten) != rewritten : rewritten != written)
            std::abort();
    }

    std::istringstream settings(input);
    ReadOrderFormTemplateValues(settings);
    return 0;
}
