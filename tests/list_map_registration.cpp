// Registers ListMap at start-up: linked into a benchmark build, it makes the
// bench programs measure one more map without any other change.
#include "list_map.h"

namespace {

[[maybe_unused]] const bool kRegistered = registerListMap();

}  // namespace
