// EM_FORMATRANGE: lays out one page from chrg.cpMin for the rectangle rc (twips) of the
// device context, draws it when wParam is non-zero and answers the first position that did
// not fit. The print layout is kept between pages and dropped by EM_FORMATRANGE(0, 0) or by
// any change of the text.

#include <QPaintDevice>
#include <QPainter>

#include "platform/gdi/DeviceContext.h"
#include "platform/richedit/PrintLayout.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit {

namespace {

constexpr double kTwipsPerInch = 1440.0;

}  // namespace

LRESULT RichEditEngine::onFormatRange(WPARAM render, LPARAM record) {
  auto* range = reinterpret_cast<FORMATRANGE*>(record);
  if (range == nullptr) {
    printLayout_.reset();
    return 0;
  }
  auto* dc = static_cast<gdi::HDC>(range->hdc);
  const double width = (range->rc.right - range->rc.left) / fmt::kTwipsPerPixel;
  const double height = (range->rc.bottom - range->rc.top) / fmt::kTwipsPerPixel;
  if (width <= 0) return range->chrg.cpMin;
  if (!printLayout_) {
    printLayout_ = std::make_unique<PrintLayout>(*doc_, width);
  } else {
    printLayout_->setWidth(width);
  }
  QPainter* painter = nullptr;
  if (render != 0 && dc != nullptr && dc->painter != nullptr && dc->painter->isActive()) {
    painter = dc->painter;
    const double dpiX = gdi::GetDeviceCaps(dc, gdi::LOGPIXELSX);
    const double dpiY = gdi::GetDeviceCaps(dc, gdi::LOGPIXELSY);
    painter->save();
    // Twips to the device's pixels, then one layout unit (a 96-per-inch pixel) to the page.
    painter->translate(range->rc.left * dpiX / kTwipsPerInch, range->rc.top * dpiY / kTwipsPerInch);
    painter->scale(dpiX * fmt::kTwipsPerPixel / kTwipsPerInch,
                   dpiY * fmt::kTwipsPerPixel / kTwipsPerInch);
  }
  const PrintLayout::Page page = printLayout_->page(range->chrg.cpMin, height, painter);
  if (painter != nullptr) painter->restore();
  range->rc.bottom = range->rc.top + LONG(page.height * fmt::kTwipsPerPixel + 0.5);
  return page.next;
}

}  // namespace richedit
