#include "util/window/PrinterDC.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/QtDeviceContext.h"

#include <QFile>
#include <QPrinter>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
    if (!WriteBeside(*printer))
        return false;
    auto dc = std::make_unique<gdi::QtDeviceContext>(*printer, true);
    if (!dc->IsActive()) {
        DropWritten();
        return false;
    }
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
    if (!writtenFile_.empty() && ::rename(writtenFile_.c_str(), pdfFile_.c_str()) != 0) {
        DropWritten();
        return false;
    }
    writtenFile_.clear();
    return true;
}

bool PrinterDC::AbortDoc()
{
    if (!IsAttached())
        return false;
    printer_->abort();
    Detach();
    DropWritten();
    return true;
}

bool PrinterDC::WriteBeside(QPrinter& printer)
{
    writtenFile_.clear();
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return true;
    pdfFile_ = QFile::encodeName(printer.outputFileName()).toStdString();
    const std::filesystem::path own(pdfFile_);
    std::string fresh
        = (own.parent_path() / std::string(1, '.').append(own.stem().string()).append("-XXXXXX.pdf"))
              .string();
    // The fresh name is reserved, then let go, so that the printer makes the file with the
    // permissions a new file gets.
    const int descriptor = ::mkstemps(fresh.data(), 4);
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    ::unlink(fresh.c_str());
    writtenFile_ = fresh;
    printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(writtenFile_)));
    return true;
}

void PrinterDC::DropWritten()
{
    if (!writtenFile_.empty())
        ::unlink(writtenFile_.c_str());
    writtenFile_.clear();
}

void PrinterDC::Detach()
{
    dc_.reset(); // ends the painter, which finishes the document
    printer_.reset();
    pagesStarted_ = 0;
    pageOpen_ = false;
}
