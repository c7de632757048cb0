#pragma once

#include <curl/curl.h>

#include <type_traits>

// Sets options on a libcurl handle and remembers whether every one was taken. A connection
// whose options were not all taken must not go on: a TLS requirement or a host-key check
// that silently failed to be set would let the password go out in clear or to anyone.
class CurlSetup
{
public:
    explicit CurlSetup(CURL* handle) : m_handle(handle) {}

    template <class T> CurlSetup& set(CURLoption option, T value)
    {
        // libcurl reads integer options as long or curl_off_t; an int would be read wrongly.
        static_assert(!std::is_integral_v<T> || std::is_same_v<T, long> ||
                          std::is_same_v<T, curl_off_t>,
                      "pass integer options as long or curl_off_t");
        if (curl_easy_setopt(m_handle, option, value) != CURLE_OK)
            m_complete = false;
        return *this;
    }

    // True when every option so far was taken.
    bool complete() const { return m_complete; }

private:
    CURL* m_handle;
    bool m_complete = true;
};
