#include "ui/scaling/minimum_size.h"

#include <QRect>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <string_view>

#include "ui/scaling/form_controls.h"
#include "ui/scaling/pixel_rounding.h"

namespace ui {
namespace {

struct SizeRule {
  std::string_view className;
  int widenTo;  // the reference rectangle is at least this wide
  int minimumHeight;
  int minimumWidth;
  bool mediaPlayer;
};

// Our data navigator stands where the design's database navigator stood.
constexpr SizeRule kRules[] = {
    {"TMediaPlayer", 253, 20, 253, true},
    {"ui::DataNavigator", 241, 18, 191, false},
    {"GTNavigator", 241, 14, 151, false},
};

const SizeRule* ruleFor(const QWidget* control) {
  const std::string_view name = control->metaObject()->className();
  const auto found = std::find_if(std::begin(kRules), std::end(kRules),
                                  [name](const SizeRule& rule) { return rule.className == name; });
  return found == std::end(kRules) ? nullptr : found;
}

void setAutomaticSizing(QWidget* control) {
  if (isLabel(control) || isImage(control)) setAutoSize(control, false);
  if (isPlainEdit(control)) setAutoSize(control, true);
}

}  // namespace

void MinimumSize::compute(const std::vector<QWidget*>& controls, QSize target) {
  std::optional<QRect> reference;
  bool mediaPlayer = false;
  for (QWidget* control : controls) {
    setAutomaticSizing(control);
    const SizeRule* rule = ruleFor(control);
    if (!rule || (mediaPlayer && !rule->mediaPlayer)) continue;
    QRect bounds = control->geometry();
    bounds.setWidth(std::max(bounds.width(), rule->widenTo));
    reference = bounds;
    minimumHeight_ = rule->minimumHeight;
    minimumWidth_ = rule->minimumWidth;
    mediaPlayer = mediaPlayer || rule->mediaPlayer;
  }
  if (!reference) {
    reference = QRect(QPoint(), target);
    minimumHeight_ = roundPixels(target.height() * 0.25L);
    minimumWidth_ = roundPixels(target.width() * 0.25L);
  }
  widthRatio_ = std::max(widthRatio_, ratio(reference->width(), target.width()));
  heightRatio_ = std::max(heightRatio_, ratio(reference->height(), target.height()));
}

QSize MinimumSize::enforce(QSize client, bool& hit) const {
  hit = false;
  if (widthRatio_ > 0 && widthRatio_ * client.width() < minimumWidth_) {
    client.setWidth(roundPixels(minimumWidth_ / widthRatio_));
    hit = true;
  }
  if (heightRatio_ > 0 && heightRatio_ * client.height() < minimumHeight_) {
    client.setHeight(roundPixels(minimumHeight_ / heightRatio_));
    hit = true;
  }
  return client;
}

}  // namespace ui
