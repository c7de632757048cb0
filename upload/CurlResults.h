#pragma once

#include "upload/FtpConnectResult.h"

#include <curl/curl.h>

// What a libcurl result means for a login: a failure of ours, with libcurl's own words for
// the rest. A peer that failed verification reads as an untrusted key.
FtpConnectResult loginFailure(CURLcode code);

// What a libcurl result means for one file sent.
TransferResult transferResult(CURLcode code);
