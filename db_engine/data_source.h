#pragma once
// A data source connects a dataset to whoever follows it: data-aware controls, detail datasets,
// queries that take their parameters from it. The dataset notifies every link of its sources.
#include <string>
#include <vector>

namespace engine {

class Dataset;
class DataSource;
class Field;

enum class DataEvent {
  ActiveChanged,   // the dataset opened or closed
  DataSetChanged,  // the rows changed as a whole (open, re-range, refresh, post, cancel, delete)
  Scrolled,        // the cursor moved to another row
  RecordChanged,   // a field of the current row changed; field is that field
  StateChanged,    // browse / edit / insert changed
  UpdateData,      // a post is about to happen: controls write their pending text into fields
};

class DataLink {
 public:
  virtual ~DataLink() = default;
  virtual void dataEvent(DataEvent event, const Field* field) = 0;
  // The source is being destroyed: a link that keeps a pointer to it drops it here.
  virtual void sourceDestroyed(DataSource* source) { (void)source; }
};

// A link that follows one data source at a time and lets go of it when the source goes first.
class SourceFollower : public DataLink {
 public:
  SourceFollower() = default;
  ~SourceFollower() override { follow(nullptr); }
  SourceFollower(const SourceFollower&) = delete;
  SourceFollower& operator=(const SourceFollower&) = delete;

  DataSource* source() const { return source_; }
  Dataset* dataset() const;  // the source's dataset, or nullptr
  void follow(DataSource* source);
  void sourceDestroyed(DataSource* source) final;

 protected:
  // After the source is gone: show or follow nothing from now on.
  virtual void sourceLost() {}
  // Events after which a follower reads its source's rows again.
  static bool movesRows(DataEvent event) {
    return event == DataEvent::ActiveChanged || event == DataEvent::DataSetChanged || event == DataEvent::Scrolled;
  }

 private:
  DataSource* source_ = nullptr;
};

class DataSource {
 public:
  explicit DataSource(std::string name, Dataset* dataset = nullptr);
  ~DataSource();
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;

  const std::string& name() const { return name_; }
  Dataset* dataset() const { return dataset_; }
  void setDataset(Dataset* dataset);

  void addLink(DataLink* link);
  void removeLink(DataLink* link);

  // Called by the dataset; links added or removed while notifying are handled safely.
  void notify(DataEvent event, const Field* field = nullptr);

 private:
  std::string name_;
  Dataset* dataset_ = nullptr;
  std::vector<DataLink*> links_;
};

}  // namespace engine
