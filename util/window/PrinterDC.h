// A print job's device context: a printer (or a PDF file) with a document started on it, drawn
// through the Qt device context and marked as printing. The document runs from StartDoc to EndDoc
// or AbortDoc; pages are bracketed by StartPage and EndPage.
#pragma once

#include "util/window/PageDevice.h"

#include <memory>
#include <string>
#include <string_view>

class QPrinter;

namespace gdi {
class QtDeviceContext;
}

class PrinterDC : public PageDevice {
public:
    PrinterDC();
    PrinterDC(const PrinterDC&) = delete;
    PrinterDC& operator=(const PrinterDC&) = delete;
    // A document still attached is ended, so that nothing drawn is lost.
    ~PrinterDC() override;

    // Takes the printer, starts the document of that name on it and attaches it. False, with
    // nothing attached, when no printer is given or the printer refuses to start.
    bool StartDoc(std::unique_ptr<QPrinter> printer, std::string_view docName);
    bool IsAttached() const { return dc_ != nullptr; }
    QPrinter* GetPrinter() const { return printer_.get(); }

    // The drawing surface; only while attached (throws std::logic_error otherwise).
    gdi::DeviceContext& Dc() override;
    bool StartPage() override;
    bool EndPage() override;
    // Ends the document (the printer prints it, a PDF file is written) and detaches; false when
    // nothing was attached or the PDF could not take its name.
    bool EndDoc();
    // Abandons the document (a PDF file is not left behind, and one that had its name stays as it
    // was) and detaches.
    bool AbortDoc();

private:
    void Detach();
    // A PDF document is written under a fresh name beside its own, which it takes when it ends.
    bool WriteBeside(QPrinter& printer);
    void DropWritten();

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<gdi::QtDeviceContext> dc_;
    int pagesStarted_ = 0;
    bool pageOpen_ = false;
    std::string pdfFile_; // the PDF's own name while it is written under the fresh one
    std::string writtenFile_;
};
