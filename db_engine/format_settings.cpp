#include "db_engine/format_settings.h"

namespace engine {

FormatSettings& formatSettings() {
  static FormatSettings settings;
  return settings;
}

}  // namespace engine
