#include "ui/scaling/form_snapshot.h"

#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "ui/scaling/form_controls.h"
#include "ui/scaling/pixel_rounding.h"

namespace ui {
namespace {

void scaleOwnFont(QWidget* widget, long double factor, int* stored) {
  if (takesParentFont(widget)) return;
  if (factor == kStoreFont) {
    if (stored) *stored = fontHeight(widget->font());
  } else if (factor == kRestoreFont) {
    if (stored && *stored > 0) setFontHeight(widget, *stored);
  } else {
    setFontHeight(widget, roundPixels(fontHeight(widget->font()) * factor));
  }
}

}  // namespace

ControlEntry* Snapshot::entryFor(const QWidget* control) {
  const auto found = std::find_if(controls.begin(), controls.end(),
                                  [control](const ControlEntry& entry) { return entry.control == control; });
  return found == controls.end() ? nullptr : &*found;
}

void scaleFont(QWidget* control, long double factor, ControlEntry* entry) {
  scaleOwnFont(control, factor, entry ? &entry->fontHeight : nullptr);
  if (auto* tabs = qobject_cast<QTabWidget*>(control))
    scaleOwnFont(tabs->tabBar(), factor, entry ? &entry->tabFontHeight : nullptr);
}

}  // namespace ui
