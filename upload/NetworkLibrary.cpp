#include "upload/NetworkLibrary.h"

#include <curl/curl.h>

NetworkLibrary::NetworkLibrary() : m_ready(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}

NetworkLibrary::~NetworkLibrary()
{
    if (m_ready)
        curl_global_cleanup();
}
