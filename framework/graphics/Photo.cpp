#include "framework/graphics/Photo.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <cerrno>
#include <cstring>

#include "framework/Exception.h"

namespace kl {

namespace {

// Decoding at this size shows that the data decode, at a fraction of a full decode's cost.
constexpr int kProbeSide = 64;
// A photo with more pixels than this is not taken: the editor would not show it. Phone cameras
// stay well inside.
constexpr qint64 kMaxPhotoPixels = 40'000'000;

[[noreturn]] void NotValid() {
  throw Exception("Photo image is not valid");
}

QByteArray ReadFile(const std::string& fileName) {
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly)) {
    const int code = errno != 0 ? errno : ENOENT;
    throw Exception("Cannot open file \"" + fileName + "\". " + std::strerror(code));
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw Exception("Cannot open file \"" + fileName + "\". " + file.errorString().toStdString());
  return bytes;
}

// A reader over bytes held by the caller.
struct Reader {
  explicit Reader(const QByteArray& bytes, const char* format) : buffer(), reader() {
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    reader.setDevice(&buffer);
    reader.setFormat(format);
  }
  QBuffer buffer;
  QImageReader reader;
};

}  // namespace

bool TPhoto::IsPhoto(const QByteArray& start) {
  return start.startsWith("\xFF\xD8\xFF") || start.startsWith("\x89PNG\r\n\x1A\n");
}

void TPhoto::LoadFromFile(const std::string& FileName) {
  errno = 0;
  QByteArray bytes = ReadFile(FileName);
  const TPhotoKind kind = bytes.startsWith("\x89PNG") ? TPhotoKind::Png : TPhotoKind::Jpeg;
  if (!IsPhoto(bytes)) NotValid();
  const char* format = kind == TPhotoKind::Png ? "png" : "jpeg";

  Reader probe(bytes, format);
  QSize size = probe.reader.size();
  const QImageIOHandler::Transformations turn = probe.reader.transformation();
  if (!size.isValid() || size.isEmpty()) NotValid();
  if (qint64(size.width()) * size.height() > kMaxPhotoPixels)
    throw Exception("Photo image is too large");
  probe.reader.setScaledSize(size.scaled(kProbeSide, kProbeSide, Qt::KeepAspectRatio));
  if (probe.reader.read().isNull()) NotValid();

  if (kind == TPhotoKind::Jpeg && turn != QImageIOHandler::TransformationNone) {
    // Readers that ignore the orientation mark would show it on its side: turn it once here.
    Reader full(bytes, format);
    full.reader.setAutoTransform(true);
    const QImage upright = full.reader.read();
    if (upright.isNull()) NotValid();
    QByteArray encoded;
    QBuffer out(&encoded);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, "jpeg");
    writer.setQuality(kUprightQuality);
    if (!writer.write(upright)) NotValid();
    bytes = std::move(encoded);
    size = upright.size();
  }
  kind_ = kind;
  bytes_ = std::move(bytes);
  width_ = size.width();
  height_ = size.height();
}

}  // namespace kl
