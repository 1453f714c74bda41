#pragma once
// The application-wide printer object, on QPrinter: the print dialog sets it up, and a print
// job runs between BeginDoc and EndDoc on its device context. With no printer installed it
// prints to the PDF file the print dialog named.

#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

#include "platform/gdi/DeviceContext.h"

namespace kl {

struct PrintRequest;

class TPrinter {
 public:
  TPrinter();
  virtual ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // The name the job is listed under in the print queue; set before the job begins.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  // The printer, copies and output file the print dialog chose.
  void Setup(const PrintRequest& request);

  // Starts a document and its first page; raises "Printing in progress" while a job runs and
  // a failure naming the printer when it cannot start.
  virtual void BeginDoc();
  // Ends the current page and starts the next.
  virtual void NewPage();
  // Ends the last page and the document.
  virtual void EndDoc();
  // Gives the job up; the printer is idle again afterwards.
  virtual void Abort();
  bool Printing() const { return painter_.isActive(); }

  // The device context, valid from BeginDoc to EndDoc.
  gdi::HDC Handle() { return Printing() ? &dc_ : nullptr; }
  // The printable area of the page in device pixels.
  int PageWidth() const;
  int PageHeight() const;

  QPrinter& Device() { return printer_; }

 private:
  std::string title_;
  QPrinter printer_{QPrinter::HighResolution};
  QPainter painter_;
  gdi::DeviceContext dc_;
};

// The printer object in force; a QPrinter-backed one unless a test installed another.
TPrinter& Printer();
// Installs a replacement printer (tests); nullptr puts a new default one in place.
void SetPrinter(std::unique_ptr<TPrinter> printer);

}  // namespace kl
