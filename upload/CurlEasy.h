#pragma once

#include <curl/curl.h>

#include <memory>

struct CurlEasyCleanup
{
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

// One libcurl transfer handle; it keeps its own connections open between transfers.
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
