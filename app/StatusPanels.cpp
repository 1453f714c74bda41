#include "app/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSizeGrip>

namespace kl {

TStatusPanels::TStatusPanels(const std::vector<int>& widths, QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 2, 0, 0);
  row->setSpacing(2);
  for (int width : widths) {
    auto* panel = new QLabel(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedWidth(width);
    panel->setTextFormat(Qt::PlainText);
    // The text keeps its blanks: the caret panel pads its numbers with them.
    panel->setIndent(2);
    row->addWidget(panel);
    panels_.push_back(panel);
  }
  row->addStretch(1);
  row->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom | Qt::AlignRight);
  setFixedHeight(BarHeight);
}

std::string TStatusPanels::Text(int panel) const {
  return panels_[std::size_t(panel)]->text().toStdString();
}

void TStatusPanels::SetText(int panel, const std::string& text) {
  panels_[std::size_t(panel)]->setText(QString::fromStdString(text));
}

}  // namespace kl
