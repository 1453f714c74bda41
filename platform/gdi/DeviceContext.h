#pragma once
// The platform's device context as the printing road uses it: a painter open on a device
// (a printer, a PDF file, an image), with the few capabilities and the mapping mode asked of
// it. The printer object owns the painter; the rich-edit control draws pages through it.

class QPainter;
class QPaintDevice;

namespace gdi {

// Device capability indexes, as the platform numbers them.
constexpr int HORZRES = 8;      // printable width in device pixels
constexpr int VERTRES = 10;     // printable height in device pixels
constexpr int LOGPIXELSX = 88;  // pixels per inch across
constexpr int LOGPIXELSY = 90;  // pixels per inch down

// Mapping modes: only MM_TEXT, one logical unit to the device pixel, is drawn in.
constexpr int MM_TEXT = 1;

struct DeviceContext {
  QPainter* painter = nullptr;
  QPaintDevice* device = nullptr;
  int mapMode = MM_TEXT;
};
using HDC = DeviceContext*;

// 0 for an index the device does not answer or a missing context.
int GetDeviceCaps(HDC dc, int index);
// Answers the previous mode, or 0 for a missing context.
int SetMapMode(HDC dc, int mode);

}  // namespace gdi
