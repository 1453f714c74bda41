#include "framework/dialogs/FontColorChoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPixmap>

namespace kl {
namespace {

struct NamedColor {
  const char* name;
  TColor color;
};

// The sixteen colours a font dialog has always offered, and the automatic text colour.
constexpr NamedColor kColors[] = {
    {"Automatic", clWindowText}, {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000},
    {"Olive", 0x008080},         {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},
    {"Gray", 0x808080},          {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},        {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
};

QIcon Swatch(TColor color) {
  const TColor rgb = ColorToRGB(color);
  QPixmap pixmap(12, 12);
  pixmap.fill(QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)));
  return QIcon(pixmap);
}

bool IsAutomatic(TColor color) {
  return color == clWindowText || color == clDefault;
}

}  // namespace

QComboBox* AddFontColorChoice(QFontDialog& dialog, TColor current) {
  auto* choice = new QComboBox;
  choice->setObjectName(QStringLiteral("fontColor"));
  int chosen = -1;
  for (const NamedColor& named : kColors) {
    choice->addItem(Swatch(named.color), QString::fromLatin1(named.name), QVariant(named.color));
    const bool same = IsAutomatic(named.color) ? IsAutomatic(current) : named.color == current;
    if (same && chosen < 0) chosen = choice->count() - 1;
  }
  if (chosen < 0) {
    choice->addItem(Swatch(current), QStringLiteral("Custom"), QVariant(current));
    chosen = choice->count() - 1;
  }
  choice->setCurrentIndex(chosen);

  // Qt's own dialog keeps its strike-out and underline boxes in a group; the list joins them.
  QGroupBox* effects = nullptr;
  for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
    if (group->layout() && group->findChild<QCheckBox*>()) effects = group;
  }
  auto* label = new QLabel(QStringLiteral("Colo&r:"));
  label->setBuddy(choice);
  if (effects) {
    effects->layout()->addWidget(label);
    effects->layout()->addWidget(choice);
  } else if (dialog.layout()) {
    dialog.layout()->addWidget(label);
    dialog.layout()->addWidget(choice);
  }
  return choice;
}

TColor ChosenFontColor(const QComboBox& choice) {
  return choice.currentData().value<TColor>();
}

}  // namespace kl
