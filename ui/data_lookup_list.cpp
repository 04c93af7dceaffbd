#include <QSignalBlocker>

#include "db_engine/dataset.h"
#include "db_engine/field.h"
#include "ui/data_controls.h"
#include "ui/handler_guard.h"

namespace ui {

// Mirrors the list source's rows as entries (display text, key as item data) and keeps the
// chosen entry on the list source's current row.
class DataLookupList::Link : public engine::SourceFollower {
 public:
  Link(DataLookupList& list, engine::DataSource* source, const QString& keyField, const QString& displayField)
      : list_(list), keyField_(keyField.toStdString()), displayField_(displayField.toStdString()) {
    follow(source);
  }

  engine::Dataset* activeDataset() const {
    engine::Dataset* data = dataset();
    return data && data->active() ? data : nullptr;
  }

  void moveTo(const QString& key, bool firstWhenMissing) {
    engine::Dataset* data = activeDataset();
    if (!data) {
      return;
    }
    if (!data->locate(keyField_, key.toStdString()) && firstWhenMissing) {
      data->first();
    }
  }

  void fill() {
    const QSignalBlocker quiet(&list_);
    list_.clear();
    engine::Dataset* data = activeDataset();
    engine::Field* key = data ? data->findField(keyField_) : nullptr;
    engine::Field* display = data ? data->findField(displayField_) : nullptr;
    if (key && display) {
      for (std::size_t row = 0; row < data->recordCount(); ++row) {
        const engine::Row& values = data->rowAt(row);
        list_.addItem(QString::fromStdString(display->format(values.at(display->index()))),
                      QString::fromStdString(key->format(values.at(key->index()), false)));
      }
    }
    showCurrent();
  }

  void showCurrent() {
    const QSignalBlocker quiet(&list_);
    engine::Dataset* data = activeDataset();
    // A row being inserted has no entry yet.
    const bool onRow = data && data->state() != engine::DatasetState::Insert && !data->isEmpty() &&
                       static_cast<int>(data->recNo()) < list_.count();
    list_.setCurrentIndex(onRow ? static_cast<int>(data->recNo()) : -1);
  }

  void sourceLost() override {
    fill();
  }

  void dataEvent(engine::DataEvent event, const engine::Field*) override {
    if (event == engine::DataEvent::ActiveChanged || event == engine::DataEvent::DataSetChanged) {
      fill();
    } else if (event == engine::DataEvent::Scrolled || event == engine::DataEvent::StateChanged) {
      showCurrent();
    }
  }

 private:
  DataLookupList& list_;
  std::string keyField_;
  std::string displayField_;
};

DataLookupList::DataLookupList(QWidget* parent, engine::DataSource* listSource, const QString& keyField,
                               const QString& displayField)
    : QComboBox(parent), link_(std::make_unique<Link>(*this, listSource, keyField, displayField)) {
  link_->fill();
  // Only the user changes the entry here: the link fills and follows with signals blocked.
  connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) {
      guarded(this, [&] { link_->moveTo(itemData(index).toString(), false); });
    }
    link_->showCurrent();
  });
  connect(this, &QComboBox::activated, this, &DataLookupList::emitPendingCloseUp);
}

DataLookupList::~DataLookupList() = default;

QString DataLookupList::keyValue() const { return currentData().toString(); }

void DataLookupList::setKeyValue(const QString& key) {
  link_->moveTo(key, true);
  link_->showCurrent();
}

// A choice in the popup is made only after the popup hides; closeUp waits for it, so its handler
// finds the list source on the chosen row. Without a choice it comes once the event is handled.
void DataLookupList::hidePopup() {
  QComboBox::hidePopup();
  closeUpPending_ = true;
  QMetaObject::invokeMethod(this, &DataLookupList::emitPendingCloseUp, Qt::QueuedConnection);
}

void DataLookupList::emitPendingCloseUp() {
  if (closeUpPending_) {
    closeUpPending_ = false;
    emit closeUp();
  }
}

}  // namespace ui
