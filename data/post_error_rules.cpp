#include "data/post_error_rules.h"

#include "db_engine/errors.h"

namespace data {

namespace {

void discardInsertedRow(engine::Dataset& dataset) {
  if (dataset.state() == engine::DatasetState::Insert) dataset.cancel();
}

void respond(engine::Dataset& dataset, const PostErrorResponse& response, const WarningSeam& seam) {
  switch (response.reaction) {
    case PostErrorReaction::Warn:
      if (!seam) return;
      seam(response.message);
      throw engine::SilentAbort();
    case PostErrorReaction::Discard:
      discardInsertedRow(dataset);
      return;
    case PostErrorReaction::WarnAndDiscard:
      if (seam) seam(response.message + dataset.fieldByName("SampleNo").asString());
      discardInsertedRow(dataset);
      return;
  }
}

}  // namespace

void applyPostErrorRule(const PostErrorRule& rule, const WarningSeam& seam, engine::Dataset& dataset,
                        const std::exception& error) {
  const auto* engineError = dynamic_cast<const engine::EngineError*>(&error);
  if (engineError == nullptr) return;
  const auto response = rule.find(engineError->code());
  if (response != rule.end()) respond(dataset, response->second, seam);
}

}  // namespace data
