#include "platform/ole/IconPicture.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>

namespace ole {

namespace {

constexpr int kIconSide = 32;
constexpr int kLabelWidth = 112;

// A page with a folded corner and the file's extension on it: the icon when the desktop's
// theme has none (as on a machine without an icon theme).
QImage drawnFileIcon(const QString& fileName, int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = side * 0.72, h = side * 0.92, x = (side - w) / 2, y = (side - h) / 2;
  const qreal fold = side * 0.22;
  QPainterPath page;
  page.moveTo(x, y);
  page.lineTo(x + w - fold, y);
  page.lineTo(x + w, y + fold);
  page.lineTo(x + w, y + h);
  page.lineTo(x, y + h);
  page.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 110), 1));
  p.setBrush(QColor(250, 250, 252));
  p.drawPath(page);
  p.setBrush(QColor(210, 214, 224));
  p.drawPolygon(QPolygonF({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}}));
  const QString suffix = fileName.section(QLatin1Char('.'), -1).left(4).toUpper();
  if (fileName.contains(QLatin1Char('.')) && !suffix.isEmpty()) {
    QFont font;
    font.setPixelSize(std::max(6, side / 5));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(40, 80, 160));
    p.drawText(QRectF(x, y + h * 0.45, w, h * 0.4), Qt::AlignCenter, suffix);
  }
  return image;
}

QString packageTypeName(const CLSID& clsid) {
  if (clsid == CLSID_Package) return QStringLiteral("Package");
  if (clsid == CLSID_LinkedFile) return QStringLiteral("Linked file");
  return {};
}

HMETAFILEPICT pictureOf(QImage image) {
  auto* handle = new METAFILEPICT;
  // 96 pixels to the inch: 2540 / 96 hundredths of a millimetre to the pixel.
  handle->xExt = LONG(image.width() * 2540 / 96);
  handle->yExt = LONG(image.height() * 2540 / 96);
  handle->hMF = new QImage(std::move(image));
  return handle;
}

}  // namespace

METAFILEPICT* GlobalLock(HMETAFILEPICT handle) {
  return handle;
}

void GlobalUnlock(HMETAFILEPICT) {}

void GlobalFree(HMETAFILEPICT handle) {
  delete handle;
}

void DeleteMetaFile(HMETAFILE picture) {
  delete picture;
}

void DeleteIconPicture(HMETAFILEPICT handle) {
  if (handle == nullptr) return;
  DeleteMetaFile(handle->hMF);
  GlobalFree(handle);
}

QImage fileTypeIcon(const QString& fileName, int side) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    if (!icon.isNull()) {
      const QImage themed = icon.pixmap(side, side).toImage();
      if (!themed.isNull()) return themed;
    }
  }
  return drawnFileIcon(fileName, side);
}

QImage iconWithLabel(const QImage& icon, const QString& label) {
  QFont font;
  font.setPixelSize(11);
  const QFontMetrics metrics(font);
  const QRect textBox = metrics.boundingRect(QRect(0, 0, kLabelWidth, 2 * metrics.height()),
                                             Qt::AlignHCenter | Qt::TextWrapAnywhere, label);
  const QString shown = metrics.elidedText(label, Qt::ElideMiddle, 2 * kLabelWidth - 8);
  const int width = std::max(icon.width(), std::min(kLabelWidth, textBox.width())) + 4;
  const int height = icon.height() + 2 + std::min(textBox.height(), 2 * metrics.height());
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.drawImage((width - icon.width()) / 2, 0, icon);
  p.setFont(font);
  p.setPen(QColor(20, 20, 20));
  p.drawText(QRect(0, icon.height() + 2, width, height - icon.height() - 2),
             Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere, shown);
  return image;
}

HMETAFILEPICT OleGetIconOfClass(const CLSID& clsid, const QString& label, bool useTypeAsLabel) {
  const QString type = packageTypeName(clsid);
  if (type.isEmpty()) return nullptr;
  const QString shown = !label.isEmpty() ? label : (useTypeAsLabel ? type : QString());
  return pictureOf(iconWithLabel(drawnFileIcon(QString(), kIconSide), shown));
}

HMETAFILEPICT iconPictureOfFile(const QString& fileName, const QString& label) {
  return pictureOf(iconWithLabel(fileTypeIcon(fileName, kIconSide), label));
}

HMETAFILEPICT copyIconPicture(HMETAFILEPICT handle) {
  if (handle == nullptr || handle->hMF == nullptr) return nullptr;
  auto* copy = new METAFILEPICT(*handle);
  copy->hMF = new QImage(*handle->hMF);
  return copy;
}

}  // namespace ole
