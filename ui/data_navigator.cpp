#include <QToolButton>
#include <algorithm>

#include "db_engine/dataset.h"
#include "ui/data_controls.h"
#include "ui/dialog_seam.h"
#include "ui/handler_guard.h"
#include "ui/navigator_glyphs.h"

namespace ui {

using engine::DatasetState;

class DataNavigator::Link : public engine::SourceFollower {
 public:
  Link(DataNavigator& bar, engine::DataSource* source) : bar_(bar) { follow(source); }

  void add(NavigatorButton which, QToolButton* button) { buttons_.push_back({which, button}); }
  const std::vector<std::pair<NavigatorButton, QToolButton*>>& buttons() const { return buttons_; }

  QToolButton* button(NavigatorButton which) const {
    for (const auto& [kind, button] : buttons_) {
      if (kind == which) {
        return button;
      }
    }
    return nullptr;
  }

  void run(NavigatorButton which) {
    guarded(&bar_, [&] {
      engine::Dataset* data = dataset();
      if (data && (which != NavigatorButton::Delete || confirmed(&bar_, QStringLiteral("Delete record?")))) {
        act(*data, which);
      }
    });
  }

  void updateButtons() {
    for (const auto& [kind, button] : buttons_) {
      button->setEnabled(enabled(kind));
    }
  }

  void sourceLost() override {
    updateButtons();
  }

  void dataEvent(engine::DataEvent event, const engine::Field*) override {
    if (event != engine::DataEvent::UpdateData && event != engine::DataEvent::RecordChanged) {
      updateButtons();
    }
  }

 private:
  static void act(engine::Dataset& data, NavigatorButton which) {
    switch (which) {
      case NavigatorButton::First: data.first(); break;
      case NavigatorButton::Prior: data.prior(); break;
      case NavigatorButton::Next: data.next(); break;
      case NavigatorButton::Last: data.last(); break;
      case NavigatorButton::Insert: data.insert(); break;
      case NavigatorButton::Delete: data.deleteRecord(); break;
      case NavigatorButton::Edit: data.edit(); break;
      case NavigatorButton::Post: data.post(); break;
      case NavigatorButton::Cancel: data.cancel(); break;
      case NavigatorButton::Refresh: data.refresh(); break;
    }
  }

  bool enabled(NavigatorButton which) const {
    engine::Dataset* data = dataset();
    if (!data || !data->active()) {
      return false;
    }
    const bool editing = data->state() == DatasetState::Edit || data->state() == DatasetState::Insert;
    const bool modifiable = data->canModify();
    const bool rows = !data->isEmpty();
    switch (which) {
      case NavigatorButton::First:
      case NavigatorButton::Prior: return rows && !data->bof() && data->recNo() > 0;
      case NavigatorButton::Next:
      case NavigatorButton::Last: return rows && !data->eof() && data->recNo() + 1 < data->recordCount();
      case NavigatorButton::Insert: return modifiable;
      case NavigatorButton::Delete: return modifiable && (rows || editing);
      case NavigatorButton::Edit: return modifiable && rows && !editing;
      case NavigatorButton::Post:
      case NavigatorButton::Cancel: return modifiable && editing;
      case NavigatorButton::Refresh: return !editing;
    }
    return false;
  }

  DataNavigator& bar_;
  std::vector<std::pair<NavigatorButton, QToolButton*>> buttons_;
};

DataNavigator::DataNavigator(QWidget* parent, engine::DataSource* source, std::vector<NavigatorButton> buttons)
    : QWidget(parent), link_(std::make_unique<Link>(*this, source)) {
  const QColor glyphColor = palette().color(QPalette::ButtonText);
  for (NavigatorButton which : buttons) {
    auto* button = new QToolButton(this);
    button->setIcon(navigatorGlyph(which, glyphColor));
    button->setToolTip(navigatorHint(which));
    button->setFocusPolicy(Qt::NoFocus);  // the focused control keeps its pending text for a post
    connect(button, &QToolButton::clicked, this, [this, which] { link_->run(which); });
    link_->add(which, button);
  }
  link_->updateButtons();
}

DataNavigator::~DataNavigator() = default;

QWidget* DataNavigator::button(NavigatorButton which) const { return link_->button(which); }

void DataNavigator::click(NavigatorButton which) {
  if (QToolButton* target = link_->button(which)) {
    target->click();
  }
}

// Equal widths over the bar, the rounding spread along it; the glyphs grow with the buttons of a
// scaled window (12 pixels on buttons of the design's height).
void DataNavigator::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const auto& buttons = link_->buttons();
  const int count = static_cast<int>(buttons.size());
  if (count == 0) return;
  const int glyph = std::max(12, std::min(height(), width() / count) / 2);
  for (int position = 0; position < count; ++position) {
    const int left = width() * position / count;
    const int right = width() * (position + 1) / count;
    auto* button = buttons[static_cast<std::size_t>(position)].second;
    button->setGeometry(left, 0, right - left, height());
    button->setIconSize(QSize(glyph, glyph));
  }
}

}  // namespace ui
