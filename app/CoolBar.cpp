#include "app/CoolBar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace kl {

namespace {

// Two raised bars at the band's left edge, as the rebar draws its grips.
class TBandGrip : public QWidget {
 public:
  explicit TBandGrip(QWidget* parent) : QWidget(parent) { setFixedWidth(TCoolBar::GripWidth); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (int x : {2, 5}) {
      painter.setPen(palette().color(QPalette::Light));
      painter.drawLine(x, 2, x, height() - 3);
      painter.setPen(palette().color(QPalette::Dark));
      painter.drawLine(x + 1, 2, x + 1, height() - 3);
    }
  }
};

}  // namespace

TCoolBar::TCoolBar(QWidget* parent) : QWidget(parent) {
  rows_ = new QVBoxLayout(this);
  rows_->setContentsMargins(0, 1, 0, 1);
  rows_->setSpacing(2);
  rows_->addStretch(1);
}

void TCoolBar::AddBand(QWidget* control, int minHeight) {
  auto* band = new QWidget(this);
  auto* row = new QHBoxLayout(band);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  row->addWidget(new TBandGrip(band));
  row->addWidget(control, 1);
  band->setMinimumHeight(minHeight);
  band->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  rows_->insertWidget(rows_->count() - 1, band);
}

}  // namespace kl
