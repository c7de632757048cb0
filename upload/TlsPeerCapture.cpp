#include "upload/TlsPeerCapture.h"

#include "upload/CurlSetup.h"

#include <QCryptographicHash>

#include <openssl/bio.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <ctime>

namespace {

struct BioFree
{
    void operator()(BIO* bio) const { BIO_free(bio); }
};

struct OpenSslFree
{
    void operator()(unsigned char* bytes) const { OPENSSL_free(bytes); }
};

QString nameText(const X509_NAME* name)
{
    const std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
    if (!bio || X509_NAME_print_ex(bio.get(), name, 0, XN_FLAG_RFC2253) < 0)
        return {};
    char* text = nullptr;
    const long length = BIO_get_mem_data(bio.get(), &text);
    return QString::fromUtf8(text, length);
}

QDate dateOf(const ASN1_TIME* time)
{
    std::tm parts = {};
    if (!time || ASN1_TIME_to_tm(time, &parts) != 1)
        return {};
    return QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
}

// The SHA-256 of the certificate's SubjectPublicKeyInfo, the hash libcurl pins.
QByteArray publicKeyHash(X509* certificate)
{
    unsigned char* der = nullptr;
    const int length = i2d_X509_PUBKEY(X509_get_X509_PUBKEY(certificate), &der);
    const std::unique_ptr<unsigned char, OpenSslFree> owned(der);
    if (length <= 0)
        return {};
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(der), length),
                                    QCryptographicHash::Sha256);
}

} // namespace

void TlsPeerCapture::CertificateFree::operator()(X509* certificate) const
{
    X509_free(certificate);
}

TlsPeerCapture::TlsPeerCapture() = default;
TlsPeerCapture::~TlsPeerCapture() = default;

void TlsPeerCapture::install(CurlSetup& setup)
{
    setup.set(CURLOPT_SSL_CTX_FUNCTION, &TlsPeerCapture::onSslContext)
        .set(CURLOPT_SSL_CTX_DATA, static_cast<void*>(this));
}

std::optional<ServerKey> TlsPeerCapture::presentedKey() const
{
    X509* certificate = m_certificate.get();
    if (!certificate)
        return std::nullopt;
    ServerKey key;
    key.kind = ServerKey::Kind::Certificate;
    key.sha256 = publicKeyHash(certificate);
    key.subject = nameText(X509_get_subject_name(certificate));
    key.issuer = nameText(X509_get_issuer_name(certificate));
    key.validFrom = dateOf(X509_get0_notBefore(certificate));
    key.validUntil = dateOf(X509_get0_notAfter(certificate));
    if (key.sha256.isEmpty())
        return std::nullopt;
    return key;
}

CURLcode TlsPeerCapture::onSslContext(CURL*, void* sslContext, void* self)
{
    auto* capture = static_cast<TlsPeerCapture*>(self);
    capture->m_sawTls = true;
    SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX*>(sslContext), &TlsPeerCapture::onVerify,
                                     capture);
    return CURLE_OK;
}

int TlsPeerCapture::onVerify(X509_STORE_CTX* store, void* self)
{
    // Noted before the chain is checked: a certificate that fails is the one to show.
    if (X509* certificate = X509_STORE_CTX_get0_cert(store);
        certificate && X509_up_ref(certificate) == 1)
        static_cast<TlsPeerCapture*>(self)->m_certificate.reset(certificate);
    return X509_verify_cert(store);
}
