#pragma once

#include "upload/ServerKey.h"

#include <curl/curl.h>

#include <memory>
#include <optional>

class CurlSetup;
struct x509_st;

// Watches the TLS connections of one libcurl handle: notes the certificate each server
// presents, whether or not it verifies, so that a key that stops the connection can be shown
// to the person who decides about it, and whether a TLS handshake happened at all.
class TlsPeerCapture
{
public:
    TlsPeerCapture();
    ~TlsPeerCapture();
    TlsPeerCapture(const TlsPeerCapture&) = delete;
    TlsPeerCapture& operator=(const TlsPeerCapture&) = delete;

    // Hooks into every TLS connection the handle sets up from now on.
    void install(CurlSetup& setup);

    // A TLS handshake began since the handle was set up: the connection is encrypted.
    bool sawTls() const { return m_sawTls; }
    // The certificate the server presented last, if any.
    std::optional<ServerKey> presentedKey() const;

private:
    struct CertificateFree
    {
        void operator()(x509_st* certificate) const;
    };

    static CURLcode onSslContext(CURL* handle, void* sslContext, void* self);
    static int onVerify(struct x509_store_ctx_st* store, void* self);

    std::unique_ptr<x509_st, CertificateFree> m_certificate;
    bool m_sawTls = false;
};
