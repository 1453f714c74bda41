#pragma once
// Pictures into entries: a bitmap or a photo turned into a small RTF document that holds the
// picture as hexadecimal data, and that document streamed into the editor in place of its
// selection. Routines of the journal store, kept apart from the index routines.

#include <cstdint>
#include <string>

namespace kl {

class TBitmap;
class TPhoto;
class TKlRichEdit;
class TStringStream;

// "{\rtf1 {\pict\dibitmap " + the bitmap's information block and pixel rows as upper-case hex
// digit pairs + " }}": one allocation of the whole fragment at its final length, the digits
// written in place. The bitmap is not changed.
void BitmapToRTF(const TBitmap& Bitmap, std::string& Fragment);

// "{\rtf1 {\pict\jpegblip" (or "\pngblip") with the photo's pixel size and a goal size that fits
// a page, then the photo file's own bytes as hex digit pairs, then " }}".
void PhotoToRTF(const TPhoto& Photo, std::string& Fragment);

// Streams the RTF document held by Stream (read from its position) into the editor, replacing
// its selection, or inserting at the caret when nothing is selected.
void InsertRTF(TKlRichEdit& Editor, TStringStream& Stream);

// The editor's read callback for InsertRTF: copies up to Requested bytes from the stream named
// by Cookie into Buffer and sets Delivered; answers 0, or E_FAIL when fewer bytes came than
// were to be copied.
std::uint32_t StreamInCallback(std::uintptr_t Cookie, std::uint8_t* Buffer, std::int32_t Requested,
                               std::int32_t* Delivered);

// The goal size in twips a picture of these pixels is shown at: one pixel to 15 twips (96 per
// inch), reduced where needed to fit a page's text, 6.5 by 9 inches.
void PictureGoalSize(int Width, int Height, int& GoalWidth, int& GoalHeight);

}  // namespace kl
