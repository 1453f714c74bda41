#include "framework/printer/Printer.h"

#include <QPageLayout>

#include "framework/Exception.h"
#include "framework/dialogs/Dialogs.h"

namespace kl {

namespace {

std::unique_ptr<TPrinter>& Current() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}

std::string PrinterName(QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return printer.outputFileName().toStdString();
  return printer.printerName().toStdString();
}

}  // namespace

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
  if (Printing()) Abort();
}

void TPrinter::Setup(const PrintRequest& request) {
  if (!request.outputFileName.empty()) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(QString::fromStdString(request.outputFileName));
  } else {
    printer_.setOutputFormat(QPrinter::NativeFormat);
    if (!request.printerName.empty())
      printer_.setPrinterName(QString::fromStdString(request.printerName));
  }
  printer_.setCopyCount(std::max(1, request.copies));
}

void TPrinter::BeginDoc() {
  if (Printing()) throw Exception("Printing in progress");
  printer_.setDocName(QString::fromStdString(title_));
  if (printer_.outputFormat() == QPrinter::NativeFormat && !printer_.isValid())
    throw Exception("No printer is installed; choose printing to a PDF file");
  if (!painter_.begin(&printer_))
    throw Exception("The printer \"" + PrinterName(printer_) + "\" could not start the job");
  dc_ = gdi::DeviceContext{&painter_, &printer_, gdi::MM_TEXT};
}

void TPrinter::NewPage() {
  if (!Printing()) throw Exception("Printer is not printing");
  if (!printer_.newPage()) throw Exception("The printer could not start a new page");
}

void TPrinter::EndDoc() {
  if (!Printing()) throw Exception("Printer is not printing");
  if (!painter_.end()) throw Exception("The printer could not finish the job");
  dc_ = {};
}

void TPrinter::Abort() {
  if (!Printing()) return;
  printer_.abort();
  painter_.end();
  dc_ = {};
}

int TPrinter::PageWidth() const {
  return printer_.pageLayout().paintRectPixels(printer_.resolution()).width();
}

int TPrinter::PageHeight() const {
  return printer_.pageLayout().paintRectPixels(printer_.resolution()).height();
}

TPrinter& Printer() {
  if (!Current()) Current() = std::make_unique<TPrinter>();
  return *Current();
}

void SetPrinter(std::unique_ptr<TPrinter> printer) {
  Current() = std::move(printer);
}

}  // namespace kl
