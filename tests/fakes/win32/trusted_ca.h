// The test servers' certificate authority made trusted by the current user of the Wine
// prefix, or untrusted again.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace melodane::testing {

inline bool TrustTestAuthority(const std::string& pem_file, bool trust) {
  std::ifstream file(pem_file, std::ios::binary);
  const std::string pem((std::istreambuf_iterator<char>(file)), {});
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                            nullptr)) {
    return false;
  }
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                       nullptr);
  HCERTSTORE root =
      CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
  if (!root) return false;
  PCCERT_CONTEXT added = nullptr;
  bool done = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                               CERT_STORE_ADD_REPLACE_EXISTING, &added);
  if (done && !trust) {
    done = CertDeleteCertificateFromStore(added);
  } else if (added) {
    CertFreeCertificateContext(added);
  }
  // Without a commit, Wine keeps a deleted certificate trusted.
  CertControlStore(root, 0, CERT_STORE_CTRL_COMMIT, nullptr);
  CertCloseStore(root, 0);
  return done;
}

}  // namespace melodane::testing
