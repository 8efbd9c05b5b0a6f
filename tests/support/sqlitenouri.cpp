// Preloaded into a test process, turns URI file names off in SQLite before
// anything uses it, as in an SQLite built without them (Qt's bundled one).
#include <dlfcn.h>

namespace {

// SQLITE_CONFIG_URI of sqlite3.h.
constexpr int configUri = 17;

__attribute__((constructor)) void turnUriNamesOff()
{
    void *sqlite = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!sqlite)
        return;
    using Config = int (*)(int, ...);
    if (auto config = reinterpret_cast<Config>(dlsym(sqlite, "sqlite3_config")))
        config(configUri, 0);
}

} // namespace
