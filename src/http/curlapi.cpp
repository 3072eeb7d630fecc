#include "curlapi.h"

#include <dlfcn.h>

#include <mutex>

namespace http {

namespace {

template <class F>
bool Resolve(void* library, const char* name, F& f, std::string& why) {
    f = reinterpret_cast<F>(::dlsym(library, name));
    if (f == nullptr)
        why = std::string("libcurl has no ") + name;
    return f != nullptr;
}

struct Loaded {
    CurlApi api{};
    bool ok = false;
    std::string why;
};

Loaded Load() {
    Loaded l;
    // The library stays loaded for the life of the process: libcurl cannot be unloaded safely.
    void* library = ::dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = ::dlerror();
        l.why = std::string("libcurl could not be loaded: ") + (error != nullptr ? error : "");
        return l;
    }
    CurlApi& a = l.api;
    l.ok = Resolve(library, "curl_global_init", a.global_init, l.why) &&
           Resolve(library, "curl_easy_init", a.easy_init, l.why) &&
           Resolve(library, "curl_easy_cleanup", a.easy_cleanup, l.why) &&
           Resolve(library, "curl_easy_setopt", a.easy_setopt, l.why) &&
           Resolve(library, "curl_easy_getinfo", a.easy_getinfo, l.why) &&
           Resolve(library, "curl_easy_strerror", a.easy_strerror, l.why) &&
           Resolve(library, "curl_multi_init", a.multi_init, l.why) &&
           Resolve(library, "curl_multi_cleanup", a.multi_cleanup, l.why) &&
           Resolve(library, "curl_multi_add_handle", a.multi_add_handle, l.why) &&
           Resolve(library, "curl_multi_remove_handle", a.multi_remove_handle, l.why) &&
           Resolve(library, "curl_multi_perform", a.multi_perform, l.why) &&
           Resolve(library, "curl_multi_poll", a.multi_poll, l.why) &&
           Resolve(library, "curl_multi_info_read", a.multi_info_read, l.why) &&
           Resolve(library, "curl_slist_append", a.slist_append, l.why) &&
           Resolve(library, "curl_slist_free_all", a.slist_free_all, l.why);
    if (l.ok && a.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        l.ok = false;
        l.why = "libcurl could not be set up";
    }
    return l;
}

}  // namespace

const CurlApi* Curl(std::string* why) {
    static const Loaded loaded = Load();
    if (!loaded.ok) {
        if (why != nullptr)
            *why = loaded.why;
        return nullptr;
    }
    return &loaded.api;
}

}  // namespace http
