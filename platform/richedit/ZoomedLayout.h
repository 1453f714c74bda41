#pragma once
// The view's layout: ParagraphLayout drawn at the view's zoom while the view paints. Only the
// drawing is scaled; the document's size, its lines and every query stay in the document's
// own units, so printing and the line messages never see the zoom.

#include <QPainter>

#include "platform/richedit/ParagraphLayout.h"

namespace richedit {

class ZoomedLayout : public ParagraphLayout {
 public:
  using ParagraphLayout::ParagraphLayout;

  void setPaintScale(double scale) { scale_ = scale; }

  // The painter comes translated by the scroll position in view pixels; the clip is in view
  // pixels too and is brought back to the document's units.
  void draw(QPainter* painter, const PaintContext& context) override {
    if (scale_ == 1.0) return ParagraphLayout::draw(painter, context);
    PaintContext scaled = context;
    if (scaled.clip.isValid()) {
      scaled.clip = QRectF(scaled.clip.topLeft() / scale_, scaled.clip.size() / scale_);
    }
    painter->save();
    painter->scale(scale_, scale_);
    ParagraphLayout::draw(painter, scaled);
    painter->restore();
  }

 private:
  double scale_ = 1.0;
};

// Scales the layout's drawing for one paint of the view.
class ZoomedPaint {
 public:
  ZoomedPaint(ZoomedLayout& layout, double scale) : layout_(layout) {
    layout_.setPaintScale(scale);
  }
  ~ZoomedPaint() { layout_.setPaintScale(1.0); }
  ZoomedPaint(const ZoomedPaint&) = delete;
  ZoomedPaint& operator=(const ZoomedPaint&) = delete;

 private:
  ZoomedLayout& layout_;
};

}  // namespace richedit
