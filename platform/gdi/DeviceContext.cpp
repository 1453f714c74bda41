#include "platform/gdi/DeviceContext.h"

#include <QPaintDevice>

namespace gdi {

int GetDeviceCaps(HDC dc, int index) {
  if (dc == nullptr || dc->device == nullptr) return 0;
  const QPaintDevice& d = *dc->device;
  switch (index) {
    case HORZRES:
      return d.width();
    case VERTRES:
      return d.height();
    case LOGPIXELSX:
      return d.logicalDpiX();
    case LOGPIXELSY:
      return d.logicalDpiY();
    default:
      return 0;
  }
}

int SetMapMode(HDC dc, int mode) {
  if (dc == nullptr) return 0;
  const int old = dc->mapMode;
  dc->mapMode = mode;
  return old;
}

}  // namespace gdi
