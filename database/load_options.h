// Settings that change how stored games are loaded.
#pragma once

namespace kestrel {

// Settings key "LoadRusAsPool": Russian games load as Pool.
extern bool LoadRusAsPool;

}  // namespace kestrel
