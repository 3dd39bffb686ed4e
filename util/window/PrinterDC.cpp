#include "util/window/PrinterDC.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/QtDeviceContext.h"

#include <QFile>
#include <QPrinter>

#include <stdexcept>

PrinterDC::PrinterDC() = default;

PrinterDC::~PrinterDC()
{
    EndDoc();
}

bool PrinterDC::StartDoc(std::unique_ptr<QPrinter> printer, std::string_view docName)
{
    if (!printer || IsAttached())
        return false;
    printer->setDocName(fw::FromCp1252(docName));
    auto dc = std::make_unique<gdi::QtDeviceContext>(*printer, true);
    if (!dc->IsActive())
        return false;
    printer_ = std::move(printer);
    dc_ = std::move(dc);
    pagesStarted_ = 0;
    pageOpen_ = false;
    return true;
}

gdi::DeviceContext& PrinterDC::Dc()
{
    if (!dc_)
        throw std::logic_error("no print job is attached to the device context");
    return *dc_;
}

bool PrinterDC::StartPage()
{
    if (!IsAttached() || pageOpen_)
        return false;
    // The painter starts on the first page; each later one is a new page of the printer.
    if (pagesStarted_ > 0 && !printer_->newPage())
        return false;
    ++pagesStarted_;
    pageOpen_ = true;
    return true;
}

bool PrinterDC::EndPage()
{
    if (!IsAttached() || !pageOpen_)
        return false;
    pageOpen_ = false;
    return true;
}

bool PrinterDC::EndDoc()
{
    if (!IsAttached())
        return false;
    Detach();
    return true;
}

bool PrinterDC::AbortDoc()
{
    if (!IsAttached())
        return false;
    printer_->abort();
    const bool toFile
        = printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty();
    const QString file = printer_->outputFileName();
    Detach();
    if (toFile)
        QFile::remove(file);
    return true;
}

void PrinterDC::Detach()
{
    dc_.reset(); // ends the painter, which finishes the document
    printer_.reset();
    pagesStarted_ = 0;
    pageOpen_ = false;
}
