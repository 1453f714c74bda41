#include "store/Pictures.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "editor/KlRichEdit.h"
#include "framework/MemoryStream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Photo.h"
#include "platform/richedit/RichEditOle.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/richedit/rtf/RtfPicture.h"

namespace kl {

namespace {

constexpr std::string_view kDibOpening = "{\\rtf1 {\\pict\\dibitmap ";
constexpr std::string_view kClosing = " }}";

// Each byte's two upper-case digits, most significant first, as they lie in memory.
const std::array<std::uint16_t, 256>& HexPairs() {
  static const std::array<std::uint16_t, 256> pairs = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<std::uint16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
      const unsigned char pair[2] = {static_cast<unsigned char>(digits[b >> 4]),
                                     static_cast<unsigned char>(digits[b & 15])};
      std::memcpy(&table[b], pair, 2);
    }
    return table;
  }();
  return pairs;
}

// Writes the digits of count bytes at out; answers the position after them. Four bytes' digits
// go out in one store where the machine keeps the first byte lowest.
char* WriteHex(const std::uint8_t* bytes, std::size_t count, char* out) {
  const auto& pairs = HexPairs();
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 4 <= count; i += 4, out += 8) {
      const std::uint64_t digits =
          std::uint64_t(pairs[bytes[i]]) | std::uint64_t(pairs[bytes[i + 1]]) << 16 |
          std::uint64_t(pairs[bytes[i + 2]]) << 32 | std::uint64_t(pairs[bytes[i + 3]]) << 48;
      std::memcpy(out, &digits, 8);
    }
  }
  for (; i < count; ++i, out += 2) std::memcpy(out, &pairs[bytes[i]], 2);
  return out;
}

// Makes text size characters long in one allocation. A large picture's text runs to tens of
// megabytes; asking for huge pages before the first write spares the system thousands of page
// faults, which would cost more than writing the digits.
void AllocateText(std::string& text, std::size_t size) {
  text.reserve(size);
#ifdef MADV_HUGEPAGE
  constexpr std::size_t kLarge = std::size_t(4) << 20;
  if (size >= kLarge) {
    const auto page = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(text.data()) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(text.data()) + size) & ~(page - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
#endif
  text.resize(size);
}

// Lays the fragment out at its final length at once: opening, the digits of each part, closing.
void Assemble(std::string_view opening,
              std::initializer_list<std::pair<const std::uint8_t*, std::size_t>> parts,
              std::string& fragment) {
  std::size_t digits = 0;
  for (const auto& part : parts) digits += 2 * part.second;
  std::string text;
  AllocateText(text, opening.size() + digits + kClosing.size());
  char* out = std::copy(opening.begin(), opening.end(), text.data());
  for (const auto& [bytes, count] : parts) out = WriteHex(bytes, count, out);
  std::copy(kClosing.begin(), kClosing.end(), out);
  fragment = std::move(text);
}

}  // namespace

void BitmapToRTF(const TBitmap& Bitmap, std::string& Fragment) {
  const TDib& dib = Bitmap.Dib();
  std::vector<std::uint8_t> info(dib.InfoSize());
  dib.WriteInfo(info.data());
  // The rows are already in the packed layout: their digits are written straight from them.
  const std::size_t imageSize = std::min(dib.ImageSize(), dib.bits.size());
  Assemble(kDibOpening, {{info.data(), info.size()}, {dib.bits.data(), imageSize}}, Fragment);
}

void PictureGoalSize(int Width, int Height, int& GoalWidth, int& GoalHeight) {
  const QSize goal = richedit::rtf::pageFittedGoalTwips(Width, Height);
  GoalWidth = goal.width();
  GoalHeight = goal.height();
}

void PhotoToRTF(const TPhoto& Photo, std::string& Fragment) {
  int goalWidth = 0, goalHeight = 0;
  PictureGoalSize(Photo.Width(), Photo.Height(), goalWidth, goalHeight);
  const std::string opening =
      std::string("{\\rtf1 {\\pict") +
      (Photo.Kind() == TPhotoKind::Png ? "\\pngblip" : "\\jpegblip") + "\\picw" +
      std::to_string(Photo.Width()) + "\\pich" + std::to_string(Photo.Height()) + "\\picwgoal" +
      std::to_string(goalWidth) + "\\pichgoal" + std::to_string(goalHeight) + " ";
  const QByteArray& bytes = Photo.Bytes();
  Assemble(opening,
           {{reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())}},
           Fragment);
}

void InsertRTF(TKlRichEdit& Editor, TStringStream& Stream) {
  richedit::EDITSTREAM editStream{};
  editStream.dwCookie = reinterpret_cast<richedit::DWORD_PTR>(&Stream);
  editStream.dwError = 0;
  editStream.pfnCallback = &StreamInCallback;
  Editor.Perform(richedit::EM_STREAMIN, richedit::SF_RTF | richedit::SFF_SELECTION,
                 reinterpret_cast<richedit::LPARAM>(&editStream));
}

std::uint32_t StreamInCallback(std::uintptr_t Cookie, std::uint8_t* Buffer, std::int32_t Requested,
                               std::int32_t* Delivered) {
  auto& stream = *reinterpret_cast<TStringStream*>(Cookie);
  const std::int64_t remaining = stream.Size() - stream.Position();
  const std::int64_t toCopy =
      std::max<std::int64_t>(0, std::min<std::int64_t>(Requested, remaining));
  const std::int64_t copied = toCopy > 0 ? stream.Read(Buffer, toCopy) : 0;
  *Delivered = std::int32_t(std::max<std::int64_t>(copied, 0));
  return copied == toCopy ? 0 : static_cast<std::uint32_t>(richedit::E_FAIL);
}

}  // namespace kl
