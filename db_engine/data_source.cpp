#include "db_engine/data_source.h"

#include <algorithm>

#include "db_engine/dataset.h"

namespace engine {

DataSource::DataSource(std::string name, Dataset* dataset) : name_(std::move(name)) { setDataset(dataset); }

DataSource::~DataSource() {
  setDataset(nullptr);
  const auto links = links_;
  links_.clear();
  for (auto* link : links) link->sourceDestroyed(this);
}

void DataSource::setDataset(Dataset* dataset) {
  if (dataset == dataset_) return;
  if (dataset_) dataset_->detach(this);
  dataset_ = dataset;
  if (dataset_) dataset_->attach(this);
  notify(DataEvent::ActiveChanged);
}

void DataSource::addLink(DataLink* link) {
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void DataSource::removeLink(DataLink* link) { std::erase(links_, link); }

void DataSource::notify(DataEvent event, const Field* field) {
  const auto links = links_;
  for (auto* link : links) {
    // A link removed by an earlier one during this round is not called.
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->dataEvent(event, field);
  }
}

Dataset* SourceFollower::dataset() const { return source_ ? source_->dataset() : nullptr; }

void SourceFollower::follow(DataSource* source) {
  if (source == source_) return;
  if (source_) source_->removeLink(this);
  source_ = source;
  if (source_) source_->addLink(this);
}

void SourceFollower::sourceDestroyed(DataSource* source) {
  if (source != source_) return;
  source_ = nullptr;
  sourceLost();
}

}  // namespace engine
