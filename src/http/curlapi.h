#pragma once

#include <curl/curl.h>

#include <string>

namespace http {

// The libcurl functions the client calls, loaded from libcurl.so.4 when the first request
// is made. Linked at build time, libcurl and the two dozen libraries it pulls in (TLS,
// Kerberos, LDAP, SSH) would be loaded at every start of the program, most of whose runs
// never touch the network: about 5 ms and 5 MiB more before the first window.
struct CurlApi {
    decltype(&curl_global_init) global_init;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_strerror) easy_strerror;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_perform) multi_perform;
    decltype(&curl_multi_poll) multi_poll;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
};

// libcurl, loaded and set up (curl_global_init) once for the life of the process; nullptr
// when it cannot be, with the reason in `why`.
const CurlApi* Curl(std::string* why);

}  // namespace http
