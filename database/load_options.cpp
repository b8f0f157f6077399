#include "database/load_options.h"

namespace kestrel {

bool LoadRusAsPool = false;

}  // namespace kestrel
