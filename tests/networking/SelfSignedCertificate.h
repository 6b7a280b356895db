// test::SelfSignedCertificate: a throw-away EC key and a self-signed certificate for 127.0.0.1, made in memory
// for the TLS tests; no certificate authority vouches for it, so verification must refuse it.
#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace test {

class SelfSignedCertificate {
public:
    SelfSignedCertificate()
    {
        m_key = EVP_EC_gen("P-256");
        m_certificate = X509_new();
        X509_set_version(m_certificate, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(m_certificate), 1);
        X509_gmtime_adj(X509_getm_notBefore(m_certificate), -60);
        X509_gmtime_adj(X509_getm_notAfter(m_certificate), 3600);
        X509_set_pubkey(m_certificate, m_key);
        X509_NAME* name = X509_get_subject_name(m_certificate);
        X509_NAME_add_entry_by_txt(
            name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(m_certificate, name);
        X509_sign(m_certificate, m_key, EVP_sha256());
    }
    ~SelfSignedCertificate()
    {
        X509_free(m_certificate);
        EVP_PKEY_free(m_key);
    }
    SelfSignedCertificate(const SelfSignedCertificate&) = delete;
    SelfSignedCertificate& operator=(const SelfSignedCertificate&) = delete;

    X509* certificate() const { return m_certificate; }
    EVP_PKEY* key() const { return m_key; }

private:
    EVP_PKEY* m_key { nullptr };
    X509* m_certificate { nullptr };
};

} // namespace test
