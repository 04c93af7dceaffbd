#pragma once
// How a data module answers the engine's refusal of a post, chosen by the engine error code.
#include <functional>
#include <map>
#include <string>

#include "db_engine/dataset.h"

namespace data {

// Shows a modal warning (caption "Warning", one OK button) and returns once it is dismissed.
using WarningSeam = std::function<void(const std::string& text)>;

enum class PostErrorReaction {
  Warn,           // show the message, then end the post silently
  Discard,        // throw away the row being inserted; the engine's error continues
  WarnAndDiscard  // show the message followed by the row's SampleNo, then discard
};

struct PostErrorResponse {
  PostErrorReaction reaction;
  std::string message;
};

// Responses by engine error code; any other error passes through unchanged.
using PostErrorRule = std::map<int, PostErrorResponse>;

// Answers the engine's refusal to post a row of dataset. A shown warning ends the post with a silent
// abort; otherwise the action stays Fail and the engine's error continues. Without a seam no
// message can be shown, so the engine's own error is left to report the refusal.
// A discard applies to an inserted row only: a key violation while editing a stored row leaves that
// row as stored and the edit open for correction, and the engine's error reports it.
void applyPostErrorRule(const PostErrorRule& rule, const WarningSeam& seam, engine::Dataset& dataset,
                        const std::exception& error);

}  // namespace data
