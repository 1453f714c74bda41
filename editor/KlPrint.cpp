// Printing: the whole text as one job on the application's printer, laid out page by page by
// the control on the printer's device context.

#include <exception>

#include "editor/KlCustomRichEdit.h"
#include "editor/KlRichEd.h"
#include "framework/printer/Printer.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl {

using namespace richedit;

namespace {

constexpr int kTwipsPerInch = 1440;

// Frees the control's print layout and restores the mapping mode however the page loop ends.
class PrintCleanup {
 public:
  PrintCleanup(TKlCustomRichEdit& edit, gdi::HDC dc, int oldMode)
      : edit_(edit), dc_(dc), oldMode_(oldMode) {}
  ~PrintCleanup() {
    edit_.Perform(EM_FORMATRANGE, 0, 0);
    gdi::SetMapMode(dc_, oldMode_);
  }
  PrintCleanup(const PrintCleanup&) = delete;
  PrintCleanup& operator=(const PrintCleanup&) = delete;

 private:
  TKlCustomRichEdit& edit_;
  gdi::HDC dc_;
  int oldMode_;
};

}  // namespace

void TKlCustomRichEdit::PrintDocument(const std::string& Caption) {
  FORMATRANGE range{};
  TPrinter& printer = Printer();
  printer.SetTitle(Caption);
  printer.BeginDoc();
  try {
    gdi::HDC dc = printer.Handle();
    range.hdc = range.hdcTarget = dc;
    const int logX = gdi::GetDeviceCaps(dc, gdi::LOGPIXELSX);
    const int logY = gdi::GetDeviceCaps(dc, gdi::LOGPIXELSY);
    const TRect r = printPageRect_;
    if (r == TRect{}) {
      range.rc = {0, 0, printer.PageWidth() * kTwipsPerInch / logX,
                  printer.PageHeight() * kTwipsPerInch / logY};
    } else {
      range.rc = {r.Left * kTwipsPerInch / logX, r.Top * kTwipsPerInch / logY,
                  r.Right * kTwipsPerInch / logX, r.Bottom * kTwipsPerInch / logY};
    }
    range.rcPage = range.rc;
    const RECT page = range.rc;
    LONG next = 0;
    LONG total = 0;
    if (RichEditVersion() >= 2) {
      GETTEXTLENGTHEX ask{GTL_DEFAULT, 0};
      total = LONG(Perform(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&ask), 0));
    } else {
      total = LONG(Perform(WM_GETTEXTLENGTH, 0, 0));
    }
    range.chrg.cpMax = -1;
    const int oldMode = gdi::SetMapMode(dc, gdi::MM_TEXT);
    Perform(EM_FORMATRANGE, 0, 0);  // nothing laid out for an earlier print is reused
    {
      PrintCleanup cleanup(*this, dc, oldMode);
      do {
        range.rc = page;  // the control may change it
        range.chrg.cpMin = next;
        next = LONG(Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range)));
        // A page that moved nowhere would repeat forever; the control always moves on.
        if (next >= 0 && next <= range.chrg.cpMin) break;
        if (next < total && next != -1) printer.NewPage();
      } while (next < total && next != -1);
    }
    printer.EndDoc();
  } catch (...) {
    // The job is given up, so that the next print can start.
    printer.Abort();
    throw;
  }
}

}  // namespace kl
