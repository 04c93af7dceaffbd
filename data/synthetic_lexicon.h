#pragma once
// Synthetic databases of any size, for benchmarks and load tests: a lexicon with a deep unit
// hierarchy and a dating results compilation tied to it, generated from a seed.
#include <cstddef>
#include <cstdint>
#include <string>

namespace data {

// Creates the three databases below root as createSampleDatabases does, but fills them directly
// with generated rows (one transaction per database): unitCount units in a hierarchy six levels
// deep over six countries (most in "ZA") with names built from place-name syllables, so that
// prefix searches find realistic numbers of units; lookup tables, areas, occurrences, synonyms,
// correlatives; suites tied to about a fifth of the units by GISID, and resultCount results
// spread over them with accepted and other interpretations. The same seed gives the same rows.
// Returns the path of the engine configuration file.
std::string generateSyntheticDatabases(const std::string& root, std::size_t unitCount, std::size_t resultCount,
                                       std::uint32_t seed);

}  // namespace data
